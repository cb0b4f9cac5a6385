#pragma once
// Colours as the rest of the program keeps them, 0x00BBGGRR, and as Qt
// paints them.

#include <QColor>
#include <cstdint>

namespace view {

inline QColor ToQColor(std::uint32_t colorRef) {
    return QColor(colorRef & 0xFF, (colorRef >> 8) & 0xFF, (colorRef >> 16) & 0xFF);
}

inline std::uint32_t ToColorRef(const QColor& color) {
    return static_cast<std::uint32_t>(color.red()) |
           (static_cast<std::uint32_t>(color.green()) << 8) |
           (static_cast<std::uint32_t>(color.blue()) << 16);
}

// The complement drawn for selected text when selection inverts colours.
inline std::uint32_t Complement(std::uint32_t colorRef) {
    return (colorRef ^ 0xFFFFFF) & 0xFFFFFF;
}

}  // namespace view
