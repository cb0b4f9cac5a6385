#include "streams/JournalEntryText.h"

#include <ctime>

#include "platform/CodePage.h"

namespace streams {

namespace {

// The length of the well-formed UTF-8 sequence at text[i], 0 when it is not.
std::size_t SequenceLength(std::string_view text, std::size_t i) {
    unsigned char lead = static_cast<unsigned char>(text[i]);
    std::size_t length = lead < 0x80   ? 1
                         : lead < 0xC2 ? 0
                         : lead < 0xE0 ? 2
                         : lead < 0xF0 ? 3
                         : lead < 0xF5 ? 4
                                       : 0;
    if (length == 0 || i + length > text.size()) return 0;
    std::uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        unsigned char next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80) return 0;
        code = (code << 6) | (next & 0x3F);
    }
    static constexpr std::uint32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kLeast[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    // Control characters: C0 but tab and line feed (a carriage return only
    // before a line feed), DEL and C1.
    bool control = code < 0x20 || (code >= 0x7F && code <= 0x9F);
    if (control && code != '\t' && code != '\n' &&
        !(code == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
        return 0;
    }
    return length;
}

void AppendUtf16(std::u16string& out, std::string_view utf8) {
    std::size_t at = out.size();
    out.resize(at + utf8.size());
    out.resize(at + platform::Utf8ToUtf16Into(utf8, out.data() + at));
}

// A field of the line's head, with control characters (a line break in an
// identifier a sender chose, say) shown as '?', so that one entry never
// reads as two.
void AppendHeadField(std::string& line, std::string_view field) {
    for (char c : field) {
        unsigned char byte = static_cast<unsigned char>(c);
        line += byte < 0x20 || byte == 0x7F ? '?' : c;
    }
}

void AppendTimestamp(JournalLineScratch& scratch, std::uint64_t realtimeUsec) {
    const std::int64_t second = static_cast<std::int64_t>(realtimeUsec / 1000000);
    if (second != scratch.second) {
        std::time_t seconds = static_cast<std::time_t>(second);
        std::tm local{};
        char text[64];
        std::size_t length = 0;
        if (localtime_r(&seconds, &local) != nullptr) {
            length = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S%z", &local);
        }
        scratch.time.assign(text, length);
        scratch.second = second;
    }
    scratch.line += scratch.time;
}

}  // namespace

bool IsTextMessage(std::string_view message) {
    for (std::size_t i = 0; i < message.size();) {
        std::size_t length = SequenceLength(message, i);
        if (length == 0) return false;
        i += length;
    }
    return true;
}

std::string BlobSizeText(std::uint64_t bytes) {
    static constexpr struct {
        char suffix;
        std::uint64_t factor;
    } kUnits[] = {{'G', 1ull << 30}, {'M', 1ull << 20}, {'K', 1ull << 10}};
    for (const auto& unit : kUnits) {
        if (bytes >= unit.factor) {
            return std::to_string(bytes / unit.factor) + "." +
                   std::to_string(bytes * 10 / unit.factor % 10) + unit.suffix;
        }
    }
    return std::to_string(bytes) + "B";
}

void AppendJournalEntry(const JournalEntryFields& entry, JournalLineScratch& lineScratch,
                        std::u16string& out) {
    std::string& scratch = lineScratch.line;
    scratch.clear();
    AppendTimestamp(lineScratch, entry.realtimeUsec);
    if (!entry.host.empty()) {
        scratch += ' ';
        AppendHeadField(scratch, entry.host);
    }
    scratch += ' ';
    std::string_view identifier = !entry.identifier.empty() ? entry.identifier
                                  : !entry.command.empty()  ? entry.command
                                                            : std::string_view("unknown");
    AppendHeadField(scratch, identifier);
    std::string_view pid = !entry.pid.empty() ? entry.pid : entry.syslogPid;
    if (!pid.empty()) {
        scratch += '[';
        AppendHeadField(scratch, pid);
        scratch += ']';
    }
    scratch += ": ";
    std::size_t lineStart = out.size();
    AppendUtf16(out, scratch);
    std::size_t indent = out.size() - lineStart;

    std::string_view message = entry.message;
    if (!IsTextMessage(message)) {
        AppendUtf16(out, "[" + BlobSizeText(message.size()) + " blob data]");
        out += u"\r\n";
        return;
    }
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) {
        message.remove_suffix(1);
    }
    for (bool first = true;; first = false) {
        std::size_t end = message.find('\n');
        std::string_view piece = message.substr(0, end);
        if (!piece.empty() && piece.back() == '\r') piece.remove_suffix(1);
        if (!first) out.append(indent, u' ');
        AppendUtf16(out, piece);
        out += u"\r\n";
        if (end == std::string_view::npos) break;
        message.remove_prefix(end + 1);
    }
}

JournalEntryFields ShownFields(std::uint64_t realtimeUsec,
                               const std::string (&values)[kShownFieldCount]) {
    JournalEntryFields entry;
    entry.realtimeUsec = realtimeUsec;
    entry.message = values[0];
    entry.host = values[1];
    entry.identifier = values[2];
    entry.command = values[3];
    entry.pid = values[4];
    entry.syslogPid = values[5];
    return entry;
}

}  // namespace streams
