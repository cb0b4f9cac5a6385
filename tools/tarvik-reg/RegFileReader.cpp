#include "RegFileReader.h"

#include "platform/CodePage.h"
#include "platform/RegistryNames.h"

namespace tarvik_reg {

namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";
constexpr std::string_view kOldHeader = "REGEDIT4";

std::string DecodeText(const std::string& bytes) {
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        std::u16string units;
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
            units += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                           (static_cast<unsigned char>(bytes[i + 1]) << 8));
        return platform::Utf16ToUtf8(units);
    }
    if (bytes.rfind("\xEF\xBB\xBF", 0) == 0) return bytes.substr(3);
    return bytes;
}

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// Reads the quoted text at the start of text; on success text is left after
// the closing quote.
bool ReadQuoted(std::string_view& text, std::string& out, std::string& error) {
    out.clear();
    for (std::size_t i = 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            text.remove_prefix(i + 1);
            return true;
        }
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++i == text.size()) break;
        switch (text[i]) {
            case '\\':
                out += '\\';
                break;
            case '"':
                out += '"';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            default:
                error = std::string("unknown escape \\") + text[i] + " in a quoted string";
                return false;
        }
    }
    if (error.empty()) error = "missing closing quote";
    return false;
}

// The store refuses such keys too; finding them here names the line and
// keeps a huge file from being applied at all.
bool ValidKeyPath(const KeyPath& key, std::string& error) {
    namespace names = platform::registry_names;
    std::vector<std::u16string> parts;
    if (!names::SplitPath(key.below, parts)) {
        error =
            "a key name is longer than " + std::to_string(names::kMaxKeyNameLength) + " characters";
        return false;
    }
    if (parts.size() > names::kMaxKeyDepth) {
        error = "the key lies more than " + std::to_string(names::kMaxKeyDepth) + " levels deep";
        return false;
    }
    return true;
}

bool ParseKeyLine(std::string_view line, RegChange& change, std::string& error) {
    if (line.size() < 2 || line.back() != ']') {
        error = "a key line must end with ']'";
        return false;
    }
    std::string_view inside = line.substr(1, line.size() - 2);
    change.kind = RegChange::Kind::OpenKey;
    if (!inside.empty() && inside.front() == '-') {
        change.kind = RegChange::Kind::DeleteKey;
        inside.remove_prefix(1);
    }
    const auto key = ParseKeyPath(inside);
    if (!key) {
        error = "unknown root key in \"" + std::string(inside) + "\"";
        return false;
    }
    if (!ValidKeyPath(*key, error)) return false;
    if (change.kind == RegChange::Kind::DeleteKey && key->below.empty()) {
        error = "a root key cannot be deleted";
        return false;
    }
    change.key = *key;
    return true;
}

bool ParseHexList(std::string_view list, Bytes& data, std::string& error) {
    data.clear();
    list = Trim(list);
    if (list.empty()) return true;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find(',', start);
        if (end == std::string_view::npos) end = list.size();
        const std::string_view item = Trim(list.substr(start, end - start));
        const auto byte = ParseHexNumber(item, 2);
        if (!byte) {
            error = "\"" + std::string(item) + "\" is not a hex byte";
            return false;
        }
        data.push_back(static_cast<std::uint8_t>(*byte));
        start = end + 1;
    }
    return true;
}

bool ParseData(std::string_view text, RegChange& change, std::string& error) {
    change.kind = RegChange::Kind::SetValue;
    if (text == "-") {
        change.kind = RegChange::Kind::DeleteValue;
        return true;
    }
    if (!text.empty() && text.front() == '"') {
        std::string value;
        if (!ReadQuoted(text, value, error)) return false;
        if (!Trim(text).empty()) {
            error = "unexpected text after the closing quote";
            return false;
        }
        change.value = {platform::REG_SZ, StringBytes(value)};
        return true;
    }
    if (text.rfind("dword:", 0) == 0) {
        const auto number = ParseHexNumber(Trim(text.substr(6)), 8);
        if (!number) {
            error = "a dword needs 1 to 8 hex digits";
            return false;
        }
        change.value = {
            platform::REG_DWORD,
            {static_cast<std::uint8_t>(*number), static_cast<std::uint8_t>(*number >> 8),
             static_cast<std::uint8_t>(*number >> 16), static_cast<std::uint8_t>(*number >> 24)}};
        return true;
    }
    if (text.rfind("hex:", 0) == 0) {
        change.value.type = platform::REG_BINARY;
        return ParseHexList(text.substr(4), change.value.data, error);
    }
    if (text.rfind("hex(", 0) == 0) {
        const auto close = text.find("):");
        const auto type = close == std::string_view::npos
                              ? std::nullopt
                              : ParseHexNumber(text.substr(4, close - 4), 8);
        if (!type) {
            error = "a hex(N): value needs a hex type number";
            return false;
        }
        change.value.type = *type;
        return ParseHexList(text.substr(close + 2), change.value.data, error);
    }
    error = "unknown data \"" + std::string(text.substr(0, 40)) + "\"";
    return false;
}

// Splits the decoded text into lines, keeping the number of the first.
struct Line {
    std::size_t number;
    std::string text;
};

std::vector<Line> SplitLines(const std::string& text) {
    std::vector<Line> lines;
    std::size_t start = 0;
    for (std::size_t number = 1; start < text.size(); ++number) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back({number, std::move(line)});
        start = end + 1;
    }
    return lines;
}

class Parser {
public:
    explicit Parser(std::vector<RegChange>& changes) : changes_(changes) {}

    bool Run(const std::vector<Line>& lines, std::string& error) {
        std::size_t i = 0;
        while (i < lines.size() && Trim(lines[i].text).empty()) ++i;
        if (i == lines.size() ||
            (Trim(lines[i].text) != kHeader && Trim(lines[i].text) != kOldHeader)) {
            error = "line " + std::to_string(i < lines.size() ? lines[i].number : 1) +
                    ": the file must start with \"" + std::string(kHeader) + "\"";
            return false;
        }
        for (++i; i < lines.size(); ++i) {
            const std::size_t number = lines[i].number;
            std::string problem;
            if (!Handle(lines, i, problem)) {
                error = "line " + std::to_string(number) + ": " + problem;
                return false;
            }
        }
        return true;
    }

private:
    // Handles the line at i; a value continued over several lines moves i on.
    bool Handle(const std::vector<Line>& lines, std::size_t& i, std::string& error) {
        const std::string_view line = Trim(lines[i].text);
        if (line.empty() || line.front() == ';') return true;
        RegChange change;
        if (line.front() == '[') {
            if (!ParseKeyLine(line, change, error)) return false;
            haveKey_ = change.kind == RegChange::Kind::OpenKey;
            key_ = change.key;
            changes_.push_back(std::move(change));
            return true;
        }
        if (line.front() != '"' && line.front() != '@') {
            error = "not a key, a value or a comment";
            return false;
        }
        if (!haveKey_) {
            error = "a value before any key";
            return false;
        }
        std::string text(line);
        while (text.rfind('\\') == text.size() - 1 && IsHex(text)) {
            if (++i == lines.size()) {
                error = "the file ends inside a continued value";
                return false;
            }
            text.pop_back();
            text += Trim(lines[i].text);
        }
        return ParseValueLine(text, change, error);
    }

    // Whether the data after the value name is a hex list, the only kind of
    // data that may continue on the next line.
    static bool IsHex(std::string_view text) {
        std::string name;
        std::string ignored;
        if (text.front() == '@')
            text.remove_prefix(1);
        else if (!ReadQuoted(text, name, ignored))
            return false;
        text = Trim(text);
        return text.rfind("=", 0) == 0 && Trim(text.substr(1)).rfind("hex", 0) == 0;
    }

    bool ParseValueLine(std::string_view text, RegChange& change, std::string& error) {
        std::string name;
        if (text.front() == '@') {
            text.remove_prefix(1);
        } else if (!ReadQuoted(text, name, error)) {
            return false;
        }
        text = Trim(text);
        if (text.empty() || text.front() != '=') {
            error = "'=' expected after the value name";
            return false;
        }
        if (!ParseData(Trim(text.substr(1)), change, error)) return false;
        change.key = key_;
        change.name = platform::Utf8ToUtf16(name);
        changes_.push_back(std::move(change));
        return true;
    }

    std::vector<RegChange>& changes_;
    KeyPath key_;
    bool haveKey_ = false;
};

}  // namespace

bool ParseRegFile(const std::string& bytes, std::vector<RegChange>& changes, std::string& error) {
    changes.clear();
    Parser parser(changes);
    if (parser.Run(SplitLines(DecodeText(bytes)), error)) return true;
    changes.clear();
    return false;
}

}  // namespace tarvik_reg
