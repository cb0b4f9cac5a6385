#include "view/TextContrast.h"

#include <array>
#include <cmath>

namespace view {

namespace {

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;

// sRGB channel values made linear, once, so painting does no powers.
const std::array<float, 256> kLinear = [] {
    std::array<float, 256> table{};
    for (int i = 0; i < 256; ++i) {
        const double c = i / 255.0;
        table[static_cast<std::size_t>(i)] =
            static_cast<float>(c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
    }
    return table;
}();

// The luminance where black and white contrast equally:
// (L + 0.05) / 0.05 == 1.05 / (L + 0.05).
constexpr float kEqualContrast = 0.1791288f;

}  // namespace

float Luminance(std::uint32_t colorRef) {
    const float r = kLinear[colorRef & 0xFF];
    const float g = kLinear[(colorRef >> 8) & 0xFF];
    const float b = kLinear[(colorRef >> 16) & 0xFF];
    return 0.2126f * r + 0.7152f * g + 0.0722f * b;
}

std::uint32_t BlackOrWhiteOn(std::uint32_t bkg) {
    return Luminance(bkg) > kEqualContrast ? kBlack : kWhite;
}

}  // namespace view
