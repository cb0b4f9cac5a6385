#include "settings/LogFont.h"

#include <algorithm>

#include "settings/LittleEndian.h"

namespace settings {

namespace {

constexpr std::size_t kNumbersEnd = 20;
constexpr std::size_t kFaceNameOffset = 28;

void PutNumbers(const LogFont& font, std::uint8_t* out) {
    const std::int32_t numbers[] = {font.lfHeight, font.lfWidth, font.lfEscapement,
                                    font.lfOrientation, font.lfWeight};
    for (std::int32_t number : numbers) {
        little_endian::PutInt32(out, number);
        out += 4;
    }
}

void GetNumbers(const std::uint8_t* in, LogFont& font) {
    std::int32_t* numbers[] = {&font.lfHeight, &font.lfWidth, &font.lfEscapement,
                               &font.lfOrientation, &font.lfWeight};
    for (std::int32_t* number : numbers) {
        *number = little_endian::GetInt32(in);
        in += 4;
    }
}

}  // namespace

std::u16string LogFont::FaceName() const {
    const auto end = std::find(lfFaceName.begin(), lfFaceName.end(), u'\0');
    return std::u16string(lfFaceName.begin(), end);
}

void LogFont::SetFaceName(std::u16string_view name) {
    lfFaceName.fill(u'\0');
    const std::size_t kept = std::min(name.size(), kFaceNameChars - 1);
    std::copy_n(name.begin(), kept, lfFaceName.begin());
}

std::array<std::uint8_t, LogFont::kByteSize> LogFont::ToBytes() const {
    std::array<std::uint8_t, kByteSize> bytes{};
    PutNumbers(*this, bytes.data());
    const std::uint8_t flags[] = {lfItalic,       lfUnderline,     lfStrikeOut, lfCharSet,
                                  lfOutPrecision, lfClipPrecision, lfQuality,   lfPitchAndFamily};
    std::copy(std::begin(flags), std::end(flags), bytes.begin() + kNumbersEnd);
    for (std::size_t i = 0; i < kFaceNameChars; ++i) {
        little_endian::PutUint16(&bytes[kFaceNameOffset + 2 * i], lfFaceName[i]);
    }
    return bytes;
}

std::optional<LogFont> LogFont::FromBytes(std::span<const std::uint8_t> bytes) {
    if (bytes.size() != kByteSize) return std::nullopt;
    LogFont font;
    GetNumbers(bytes.data(), font);
    std::uint8_t* flags[] = {&font.lfItalic,  &font.lfUnderline,     &font.lfStrikeOut,
                             &font.lfCharSet, &font.lfOutPrecision,  &font.lfClipPrecision,
                             &font.lfQuality, &font.lfPitchAndFamily};
    for (std::size_t i = 0; i < std::size(flags); ++i) *flags[i] = bytes[kNumbersEnd + i];
    for (std::size_t i = 0; i < kFaceNameChars; ++i) {
        font.lfFaceName[i] = little_endian::GetUint16(&bytes[kFaceNameOffset + 2 * i]);
    }
    // A record from outside may lack the terminator; the name must stay a string.
    font.lfFaceName[kFaceNameChars - 1] = u'\0';
    return font;
}

}  // namespace settings
