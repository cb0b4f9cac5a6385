#include "core/NormalizeText.h"

namespace core {

namespace {

constexpr bool NeedsAttention(char16_t ch) {
    return ch < 0x20 || ch == 0x7F;
}

}  // namespace

std::size_t NormalizeText(char16_t* text, std::size_t n, bool showSpaceForBadChar) {
    std::size_t in = 0;
    std::size_t out = 0;
    while (in < n) {
        const char16_t ch = text[in];
        if (!NeedsAttention(ch)) {
            text[out++] = ch;
            ++in;
            continue;
        }
        if (ch == u'\r' || ch == u'\n') {
            const char16_t partner = ch == u'\r' ? u'\n' : u'\r';
            const bool pair = in + 1 < n && text[in + 1] == partner;
            text[out++] = u'\n';
            in += pair ? 2 : 1;
            continue;
        }
        text[out++] = ch != u'\t' && showSpaceForBadChar ? u' ' : ch;
        ++in;
    }
    text[out] = 0;
    return out;
}

}  // namespace core
