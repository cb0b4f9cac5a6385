#include "filters/IniFilterFile.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "filters/AsciiFold.h"
#include "platform/CodePage.h"

namespace filters::ini_file {

namespace {

constexpr std::u16string_view kHighlightPrefix = u"[HFilter";
constexpr std::u16string_view kInExPrefix = u"[Filter";
constexpr std::uint32_t kWhite = 0x00FFFFFF;

// ---- writing ----

class IniWriter {
public:
    IniWriter() { bytes_ = {0xFF, 0xFE}; }

    void Header(std::string_view prefix, std::size_t number) {
        Ascii(prefix);
        Ascii(std::to_string(number));
        Ascii("]\r\n");
    }
    void Text(std::string_view key, std::u16string_view value) {
        Ascii(key);
        Ascii("=");
        for (const char16_t ch : value) Unit(ch);
        Ascii("\r\n");
    }
    // A line break inside a body template typed on several lines would end
    // the value early and start a line of its own, which could read as
    // another key; it is written as a space, which a JSON body reads the same
    // outside its strings (inside them a raw line break is not allowed).
    void OneLineText(std::string_view key, std::u16string_view value) {
        std::u16string line(value);
        std::replace_if(
            line.begin(), line.end(), [](char16_t ch) { return ch == u'\r' || ch == u'\n'; }, u' ');
        Text(key, line);
    }
    void Number(std::string_view key, std::int32_t value) {
        Ascii(key);
        Ascii("=");
        Ascii(std::to_string(value));
        Ascii("\r\n");
    }
    void Color(std::string_view key, std::uint32_t value) {
        std::array<char, 8> digits{};
        const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), value, 16).ptr;
        Ascii(key);
        Ascii("=0x");
        Ascii(std::string_view(digits.data(), end - digits.data()));
        Ascii("\r\n");
    }
    void EndSection() { Ascii("\r\n"); }
    std::vector<std::uint8_t> Take() { return std::move(bytes_); }

private:
    void Unit(char16_t ch) {
        bytes_.push_back(static_cast<std::uint8_t>(ch));
        bytes_.push_back(static_cast<std::uint8_t>(ch >> 8));
    }
    void Ascii(std::string_view text) {
        for (const char ch : text) Unit(static_cast<char16_t>(static_cast<unsigned char>(ch)));
    }

    std::vector<std::uint8_t> bytes_;
};

// ---- reading lines ----

// Hands out the file's lines, each at most kMaxLineChars characters long and
// including its line feed when it had one within that length.
class LineReader {
public:
    explicit LineReader(const ReadBytesAt& read) : read_(read) { DetectEncoding(); }

    bool Next(std::u16string& line) {
        line.clear();
        return utf8_ ? NextUtf8(line) : NextUtf16(line);
    }

private:
    // The byte at the read position, refilling the window as needed.
    std::optional<std::uint8_t> Peek() {
        if (at_ >= windowStart_ + windowSize_) {
            windowStart_ = at_;
            const long long got = ended_ ? 0 : read_(at_, window_.data(), window_.size());
            windowSize_ = got > 0 ? static_cast<std::size_t>(got) : 0;
            if (got <= 0) ended_ = true;
            if (windowSize_ == 0) return std::nullopt;
        }
        return window_[at_ - windowStart_];
    }

    void DetectEncoding() {
        std::array<std::uint8_t, 4096> head{};
        const long long got = read_(0, head.data(), head.size());
        const std::size_t size = got > 0 ? static_cast<std::size_t>(got) : 0;
        if (size >= 2 && head[0] == 0xFF && head[1] == 0xFE) {
            at_ = 2;
            return;
        }
        const auto begin = head.begin();
        if (size > 0 && std::find(begin, begin + size, 0) == begin + size) {
            utf8_ = true;
            const bool mark = size >= 3 && head[0] == 0xEF && head[1] == 0xBB && head[2] == 0xBF;
            at_ = mark ? 3 : 0;
            return;
        }
        at_ = 2;
    }

    bool NextUtf16(std::u16string& line) {
        while (line.size() < kMaxLineChars) {
            const std::optional<std::uint8_t> low = Peek();
            if (!low) break;
            ++at_;
            const std::optional<std::uint8_t> high = Peek();
            // A last odd byte holds no character.
            if (!high) break;
            ++at_;
            const auto ch = static_cast<char16_t>(*low | (*high << 8));
            line.push_back(ch);
            if (ch == u'\n') break;
        }
        return !line.empty();
    }

    bool NextUtf8(std::u16string& line) {
        std::string bytes;
        while (bytes.size() < kMaxLineChars) {
            const std::optional<std::uint8_t> byte = Peek();
            if (!byte) break;
            // A piece never ends inside a character: continuation bytes stay
            // with the character they belong to.
            if (bytes.size() + 4 >= kMaxLineChars && (*byte & 0xC0) != 0x80) break;
            ++at_;
            bytes.push_back(static_cast<char>(*byte));
            if (*byte == '\n') break;
        }
        line = platform::Utf8ToUtf16(bytes);
        return !bytes.empty();
    }

    const ReadBytesAt& read_;
    std::vector<std::uint8_t> window_ = std::vector<std::uint8_t>(65536);
    std::uint64_t windowStart_ = 0;
    std::size_t windowSize_ = 0;
    std::uint64_t at_ = 0;
    bool ended_ = false;
    bool utf8_ = false;
};

// ---- reading values ----

bool IsBlank(char16_t ch) {
    return ch == u' ' || ch == u'\t';
}

std::u16string_view SkipBlanks(std::u16string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    return text;
}

int HexDigit(char16_t ch) {
    if (ch >= u'0' && ch <= u'9') return ch - u'0';
    if (ch >= u'a' && ch <= u'f') return ch - u'a' + 10;
    if (ch >= u'A' && ch <= u'F') return ch - u'A' + 10;
    return -1;
}

// Unsigned hexadecimal with an optional "0x"; too large a value saturates.
std::uint32_t ParseColor(std::u16string_view text) {
    text = SkipBlanks(text);
    if (text.size() >= 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) {
        text.remove_prefix(2);
    }
    std::uint64_t value = 0;
    for (const char16_t ch : text) {
        const int digit = HexDigit(ch);
        if (digit < 0) break;
        value = std::min<std::uint64_t>(value * 16 + digit, 0xFFFFFFFFu);
    }
    return static_cast<std::uint32_t>(value);
}

// Signed decimal; an unreadable number gives 0, too large a one saturates.
std::int32_t ParseNumber(std::u16string_view text) {
    text = SkipBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == u'-' || text.front() == u'+')) {
        negative = text.front() == u'-';
        text.remove_prefix(1);
    }
    std::int64_t value = 0;
    for (const char16_t ch : text) {
        if (ch < u'0' || ch > u'9') break;
        value = std::min<std::int64_t>(value * 10 + (ch - u'0'), std::int64_t{1} << 31);
    }
    if (negative) value = -value;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

bool ParseFlag(std::u16string_view text) {
    return ParseNumber(text) != 0;
}

// Splits "Key=value\r\n" into key and value; false for a line without "=".
// A value ends at its first NUL as well: the settings store keeps strings only
// up to there, so a text read past it would change at the next start.
bool SplitKeyValue(std::u16string_view line, std::u16string_view& key, std::u16string_view& value) {
    const std::size_t equals = line.find(u'=');
    if (equals == std::u16string_view::npos) return false;
    key = line.substr(0, equals);
    value = line.substr(equals + 1);
    value = value.substr(0, value.find_first_of(std::u16string_view(u"\r\n\0", 3)));
    return true;
}

// Walks the sections that begin with prefix: start() opens one, apply() takes
// each key and value inside it, finish() closes it and tells whether to go on.
// True when finish() stopped the walk with another section still to come.
template <typename Start, typename Apply, typename Finish>
bool ReadSections(const ReadBytesAt& read, std::u16string_view prefix, Start start, Apply apply,
                  Finish finish) {
    LineReader lines(read);
    std::u16string line;
    bool inSection = false;
    while (lines.Next(line)) {
        if (line.starts_with(prefix)) {
            if (inSection && !finish()) return true;
            start();
            inSection = true;
            continue;
        }
        std::u16string_view key;
        std::u16string_view value;
        if (inSection && SplitKeyValue(line, key, value)) apply(key, value);
    }
    if (inSection) finish();
    return false;
}

void ApplyHighlightKey(HighlightFilter& f, std::u16string_view key, std::u16string_view value,
                       bool& touchesShowAs) {
    if (key == u"Text") {
        f.phrase.text.assign(value);
    } else if (key == u"TextColor") {
        f.TextColor = ParseColor(value);
    } else if (key == u"BkgColor") {
        f.BkgColor = ParseColor(value);
    } else if (key == u"MatchCase") {
        f.phrase.matchCase = ParseFlag(value);
    } else if (key == u"RegularExpression") {
        f.phrase.regularExpression = ParseFlag(value);
    } else if (key == u"HighlightEntireLine") {
        f.HighlightEntireLine = ParseFlag(value);
    } else if (key == u"Enable") {
        f.Enable = ParseFlag(value);
    } else if (key == u"SendEmail") {
        f.SendEmail = ParseFlag(value);
    } else if (key == u"Emails") {
        f.Emails.assign(value);
    } else if (key == u"AttachPreviousLinesWithEmail") {
        f.AttachPreviousLinesWithEmail = ParseNumber(value);
    } else if (key == u"SendFirstOccured") {
        f.SendFirstOccured = ParseFlag(value);
    } else if (key == u"WriteFile") {
        f.WriteFile = ParseFlag(value);
    } else if (key == u"IncludeTimestamp") {
        f.IncludeTimestamp = ParseFlag(value);
    } else if (key == u"IncludeFileName") {
        f.IncludeFileName = ParseFlag(value);
    } else if (key == u"WrittenFile") {
        f.WrittenFile.assign(value);
    } else if (key == u"PrintLineToDefaultPrinter") {
        f.PrintLineToDefaultPrinter = ParseFlag(value);
    } else if (key == u"ExecuteProgram") {
        f.ExecuteProgram = ParseFlag(value);
    } else if (key == u"ExecutableProgram") {
        f.ExecutableProgram.assign(value);
    } else if (key == u"ShowDesktopNotification") {
        f.ShowDesktopNotification = ParseFlag(value);
    } else if (key == u"PostWebHook") {
        f.PostWebHook = ParseFlag(value);
    } else if (key == u"WebHookUrl") {
        f.WebHookUrl.assign(value);
    } else if (key == u"WebHookBody") {
        f.WebHookBody.assign(value);
    } else if (key == u"ReplaceWith") {
        f.ReplaceWith = ParseFlag(value);
        touchesShowAs = true;
    } else if (key == u"ReplaceText") {
        f.ReplaceText.assign(value);
        touchesShowAs = true;
    } else if (key == u"ActionsOnlyAvailableInSpecialFile") {
        f.ActionsOnlyAvailableInSpecialFile = ParseFlag(value);
    } else if (key == u"AvailableFile") {
        f.AvailableFile.assign(value);
    }
}

void ApplyInExKey(InExFilterRow& row, std::u16string_view key, std::u16string_view value) {
    if (key == u"Text") {
        row.text.assign(value);
    } else if (key == u"Enable") {
        row.enable = ParseFlag(value);
    } else if (key == u"MatchCase") {
        row.matchCase = ParseFlag(value);
    } else if (key == u"RegularExpression") {
        row.regularExpression = ParseFlag(value);
    } else if (key == u"IsInclude") {
        row.include = ParseFlag(value);
    }
}

}  // namespace

std::vector<std::uint8_t> WriteHighlight(std::span<const HighlightFilter> filters) {
    IniWriter out;
    std::size_t number = 0;
    for (const HighlightFilter& f : filters) {
        out.Header("[HFilter", ++number);
        out.Text("Text", f.phrase.text);
        out.Color("TextColor", f.TextColor);
        out.Color("BkgColor", f.BkgColor);
        out.Number("MatchCase", f.phrase.matchCase);
        out.Number("RegularExpression", f.phrase.regularExpression);
        out.Number("HighlightEntireLine", f.HighlightEntireLine);
        out.Number("Enable", f.Enable);
        out.Number("SendEmail", f.SendEmail);
        out.Text("Emails", f.Emails);
        out.Number("AttachPreviousLinesWithEmail", f.AttachPreviousLinesWithEmail);
        out.Number("SendFirstOccured", f.SendFirstOccured);
        out.Number("WriteFile", f.WriteFile);
        out.Number("IncludeTimestamp", f.IncludeTimestamp);
        out.Number("IncludeFileName", f.IncludeFileName);
        out.Text("WrittenFile", f.WrittenFile);
        out.Number("PrintLineToDefaultPrinter", f.PrintLineToDefaultPrinter);
        out.Number("ExecuteProgram", f.ExecuteProgram);
        out.Text("ExecutableProgram", f.ExecutableProgram);
        out.Number("ShowDesktopNotification", f.ShowDesktopNotification);
        out.Number("PostWebHook", f.PostWebHook);
        out.OneLineText("WebHookUrl", f.WebHookUrl);
        out.OneLineText("WebHookBody", f.WebHookBody);
        out.Number("ReplaceWith", f.ReplaceWith);
        out.Text("ReplaceText", f.ReplaceText);
        out.Number("ActionsOnlyAvailableInSpecialFile", f.ActionsOnlyAvailableInSpecialFile);
        out.Text("AvailableFile", f.AvailableFile);
        out.EndSection();
    }
    return out.Take();
}

std::vector<std::uint8_t> WriteInEx(std::span<const InExFilterRow> rows) {
    IniWriter out;
    std::size_t number = 0;
    for (const InExFilterRow& row : rows) {
        out.Header("[Filter", ++number);
        out.Text("Text", row.text);
        out.Number("Enable", row.enable);
        out.Number("MatchCase", row.matchCase);
        out.Number("RegularExpression", row.regularExpression);
        out.Number("IsInclude", row.include);
        out.EndSection();
    }
    return out.Take();
}

void ReadHighlight(const ReadBytesAt& read, HighlightFileImport& out) {
    HighlightFilter current;
    out.leftOut |= ReadSections(
        read, kHighlightPrefix, [&] { current = HighlightFilter{}; },
        [&](std::u16string_view key, std::u16string_view value) {
            ApplyHighlightKey(current, key, value, out.touchesShowAs);
        },
        [&] {
            if (current.phrase.text.empty()) return true;
            if (current.TextColor == 0 && current.BkgColor == 0) current.BkgColor = kWhite;
            current.phrase.foldedText = FoldedAsciiLower(current.phrase.text);
            current.SetAvailableFile(std::u16string(current.AvailableFile));
            out.filters.push_back(std::move(current));
            return out.filters.size() < kMaxFiltersPerFile;
        });
}

void ReadInEx(const ReadBytesAt& read, std::vector<InExFilterRow>& out, bool* leftOut) {
    InExFilterRow current;
    const bool cut = ReadSections(
        read, kInExPrefix, [&] { current = InExFilterRow{}; },
        [&](std::u16string_view key, std::u16string_view value) {
            ApplyInExKey(current, key, value);
        },
        [&] {
            if (current.text.empty()) return true;
            out.push_back(std::move(current));
            return out.size() < kMaxFiltersPerFile;
        });
    if (leftOut) *leftOut |= cut;
}

}  // namespace filters::ini_file
