#include "mail/WebHookEscape.h"

#include "filters/LoneSurrogates.h"
#include "platform/CodePage.h"

namespace mail {

namespace {

constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";

bool NeedsUnicodeEscape(char16_t ch) {
    return ch < 0x20 || (ch >= 0x7F && ch <= 0x9F) || ch == 0x2028 || ch == 0x2029;
}

void AppendUnicodeEscape(char16_t ch, std::u16string& out) {
    out += u"\\u";
    for (int shift = 12; shift >= 0; shift -= 4) out += kHexDigits[(ch >> shift) & 0xF];
}

// A copy without lone surrogates, made only when the value has one.
std::u16string_view WellFormed(std::u16string_view value, std::u16string& repaired) {
    if (!filters::HasLoneSurrogate(value)) return value;
    filters::CopyReplacingLoneSurrogates(value, repaired);
    return repaired;
}

bool IsUnreserved(unsigned char byte) {
    return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
           (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' || byte == '~';
}

}  // namespace

void AppendJsonEscaped(std::u16string_view value, std::u16string& out) {
    std::u16string repaired;
    value = WellFormed(value, repaired);
    out.reserve(out.size() + value.size());
    for (const char16_t ch : value) {
        if (ch == u'"' || ch == u'\\') {
            out += u'\\';
            out += ch;
        } else if (NeedsUnicodeEscape(ch)) {
            AppendUnicodeEscape(ch, out);
        } else {
            out += ch;
        }
    }
}

void AppendPercentEncoded(std::u16string_view value, std::u16string& out) {
    std::u16string repaired;
    const std::string bytes = platform::Utf16ToUtf8(WellFormed(value, repaired));
    for (const char ch : bytes) {
        const auto byte = static_cast<unsigned char>(ch);
        if (IsUnreserved(byte)) {
            out += static_cast<char16_t>(byte);
        } else {
            out += u'%';
            out += kHexDigits[byte >> 4];
            out += kHexDigits[byte & 0xF];
        }
    }
}

}  // namespace mail
