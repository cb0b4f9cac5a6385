#include "app/RefreshRate.h"

namespace app {

namespace {

std::u16string_view TrimBlanks(std::u16string_view text) {
    const auto blank = [](char16_t ch) { return ch == u' ' || ch == u'\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace

std::optional<std::uint32_t> ParseRefreshRate(std::u16string_view text) {
    text = TrimBlanks(text);
    if (text.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (const char16_t ch : text) {
        if (ch < u'0' || ch > u'9') return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(ch - u'0');
        if (value > kRefreshRateMax) return std::nullopt;
    }
    if (value == 0) return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

}  // namespace app
