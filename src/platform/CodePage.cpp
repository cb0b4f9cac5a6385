#include "platform/CodePage.h"

#include <cstdint>

namespace platform {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

// Length of the sequence a lead byte announces, 0 for a byte that cannot lead.
int SequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

// The allowed range of the second byte, which rules out overlong forms,
// surrogates and code points above U+10FFFF.
bool SecondByteValid(unsigned char lead, unsigned char b) {
    switch (lead) {
        case 0xE0:
            return b >= 0xA0 && b <= 0xBF;
        case 0xED:
            return b >= 0x80 && b <= 0x9F;
        case 0xF0:
            return b >= 0x90 && b <= 0xBF;
        case 0xF4:
            return b >= 0x80 && b <= 0x8F;
        default:
            return b >= 0x80 && b <= 0xBF;
    }
}

char16_t* PutCodePoint(char16_t* out, char32_t cp) {
    if (cp < 0x10000) {
        *out++ = static_cast<char16_t>(cp);
    } else {
        cp -= 0x10000;
        *out++ = static_cast<char16_t>(0xD800 + (cp >> 10));
        *out++ = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    }
    return out;
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view utf8) {
    std::u16string out(utf8.size(), u'\0');
    out.resize(Utf8ToUtf16Into(utf8, out.data()));
    return out;
}

std::size_t Utf8ToUtf16Into(std::string_view utf8, char16_t* out) {
    char16_t* const start = out;
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    const std::size_t n = utf8.size();
    std::size_t i = 0;
    while (i < n) {
        const unsigned char lead = p[i];
        if (lead < 0x80) {
            *out++ = lead;
            ++i;
            continue;
        }
        const int len = SequenceLength(lead);
        if (len == 0) {
            *out++ = kReplacement;
            ++i;
            continue;
        }
        // Consume the longest valid prefix; a broken sequence yields one
        // replacement character and resumes at the offending byte.
        char32_t cp = lead & (0xFF >> (len + 1));
        std::size_t j = 1;
        bool ok = true;
        for (; j < static_cast<std::size_t>(len); ++j) {
            if (i + j >= n) {
                ok = false;
                break;
            }
            const unsigned char b = p[i + j];
            const bool valid = (j == 1) ? SecondByteValid(lead, b) : (b >= 0x80 && b <= 0xBF);
            if (!valid) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (b & 0x3F);
        }
        if (!ok) {
            *out++ = kReplacement;
            i += j;
            continue;
        }
        out = PutCodePoint(out, cp);
        i += len;
    }
    return static_cast<std::size_t>(out - start);
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
    std::string out;
    AppendUtf8(out, utf16);
    return out;
}

// Converts into a small buffer and appends it a buffer at a time, so that
// the string is neither grown byte by byte nor filled first.
void AppendUtf8(std::string& out, std::u16string_view utf16) {
    constexpr std::size_t kUnitsPerStep = 256;
    // A unit gives at most 3 bytes; a pair of them (4 bytes) less.
    char step[3 * kUnitsPerStep + 1];
    out.reserve(out.size() + utf16.size());
    const std::size_t n = utf16.size();
    std::size_t i = 0;
    while (i < n) {
        char* o = step;
        const std::size_t stepEnd = n - i > kUnitsPerStep ? i + kUnitsPerStep : n;
        while (i < stepEnd) {
            char32_t cp = utf16[i++];
            if (cp < 0x80) {
                *o++ = static_cast<char>(cp);
                continue;
            }
            if (cp >= 0xD800 && cp <= 0xDBFF && i < n && utf16[i] >= 0xDC00 && utf16[i] <= 0xDFFF) {
                // The pair may reach one unit past the step; the buffer has room.
                cp = 0x10000 + ((cp - 0xD800) << 10) + (utf16[i] - 0xDC00);
                ++i;
            } else if (cp >= 0xD800 && cp <= 0xDFFF) {
                cp = kReplacement;  // a lone surrogate
            }
            if (cp < 0x800) {
                *o++ = static_cast<char>(0xC0 | (cp >> 6));
                *o++ = static_cast<char>(0x80 | (cp & 0x3F));
            } else if (cp < 0x10000) {
                *o++ = static_cast<char>(0xE0 | (cp >> 12));
                *o++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
                *o++ = static_cast<char>(0x80 | (cp & 0x3F));
            } else {
                *o++ = static_cast<char>(0xF0 | (cp >> 18));
                *o++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
                *o++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
                *o++ = static_cast<char>(0x80 | (cp & 0x3F));
            }
        }
        out.append(step, static_cast<std::size_t>(o - step));
    }
}

}  // namespace platform
