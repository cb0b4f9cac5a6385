#pragma once
// Readable text on a dark palette. Highlight filters keep black as their
// text colour when only a background was chosen; on a dark palette the view's
// own text is light, so black or light text can land on a background it
// does not show on. These pick black or white by relative luminance.

#include <cstdint>

namespace view {

// The relative luminance (0 black to 1 white) of a 0x00BBGGRR colour.
float Luminance(std::uint32_t colorRef);

// Black or white (0x00BBGGRR), whichever contrasts more with bkg.
std::uint32_t BlackOrWhiteOn(std::uint32_t bkg);

// A palette is dark when its background is darker than its text.
inline bool IsDarkPalette(std::uint32_t base, std::uint32_t text) {
    return Luminance(base) < Luminance(text);
}

}  // namespace view
