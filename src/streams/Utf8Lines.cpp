#include "streams/Utf8Lines.h"

#include "platform/CodePage.h"

namespace streams {

namespace {

// The length of text without a UTF-8 sequence cut off at its end.
std::size_t WholeSequences(std::string_view text) {
    std::size_t lead = text.size();
    for (int back = 0; back < 4 && lead > 0; ++back) {
        const unsigned char byte = static_cast<unsigned char>(text[lead - 1]);
        --lead;
        if ((byte & 0xC0) != 0x80) {
            const std::size_t length = byte < 0x80 ? 1 : byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : 2;
            return lead + length <= text.size() ? text.size() : lead;
        }
    }
    return text.size();
}

// Lines ending in "\n" (or "\r\n") as lines ending in "\r\n".
void AppendLines(std::string_view bytes, std::u16string& out) {
    const std::u16string text = platform::Utf8ToUtf16(bytes);
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find(u'\n', at);
        if (end == std::u16string::npos) end = text.size();
        std::size_t cut = end;
        if (cut > at && text[cut - 1] == u'\r') --cut;
        out.append(text, at, cut - at);
        out += u"\r\n";
        at = end + 1;
    }
}

}  // namespace

void CUtf8Lines::Add(std::string_view bytes, std::u16string& out, bool flush) {
    pending_.append(bytes);
    std::size_t lines = pending_.rfind('\n');
    lines = lines == std::string::npos ? 0 : lines + 1;
    if (lines == 0 && pending_.size() > kLongestLineBytes) lines = WholeSequences(pending_);
    if (lines > 0) {
        AppendLines(std::string_view(pending_).substr(0, lines), out);
        pending_.erase(0, lines);
    }
    if (flush && !pending_.empty()) {
        AppendLines(pending_, out);
        pending_.clear();
    }
}

}  // namespace streams
