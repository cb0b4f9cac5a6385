#pragma once
// The display font record, laid out as the 92-byte LOGFONTW the store keeps:
// five signed 32-bit numbers, eight bytes, then a 32-character UTF-16 face
// name. The bytes are written field by field, little-endian, so the layout
// does not depend on the compiler's padding.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace settings {

struct LogFont {
    static constexpr std::size_t kByteSize = 92;
    static constexpr std::size_t kFaceNameChars = 32;  // including the terminating zero

    std::int32_t lfHeight = -12;
    std::int32_t lfWidth = 0;
    std::int32_t lfEscapement = 0;
    std::int32_t lfOrientation = 0;
    std::int32_t lfWeight = 400;
    std::uint8_t lfItalic = 0;
    std::uint8_t lfUnderline = 0;
    std::uint8_t lfStrikeOut = 0;
    std::uint8_t lfCharSet = 1;  // the default character set
    std::uint8_t lfOutPrecision = 0;
    std::uint8_t lfClipPrecision = 0;
    std::uint8_t lfQuality = 0;
    std::uint8_t lfPitchAndFamily = 0;
    std::array<char16_t, kFaceNameChars> lfFaceName{u"Courier New"};

    // The face name up to its terminating zero.
    std::u16string FaceName() const;
    // Keeps at most 31 characters so the name stays terminated.
    void SetFaceName(std::u16string_view name);

    std::array<std::uint8_t, kByteSize> ToBytes() const;
    // Anything but exactly 92 bytes is not a font record.
    static std::optional<LogFont> FromBytes(std::span<const std::uint8_t> bytes);

    bool operator==(const LogFont&) const = default;
};

static_assert(sizeof(LogFont) == LogFont::kByteSize, "LogFont must keep the 92-byte layout");

}  // namespace settings
