#pragma once
// A window rectangle as the store keeps it: left, top, right, bottom, each a
// signed 32-bit little-endian number, 16 bytes in all.

#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "settings/LittleEndian.h"

namespace settings {

struct WindowRect {
    static constexpr std::size_t kByteSize = 16;

    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    // No area: such a rectangle never positions a window.
    bool IsEmpty() const { return right <= left || bottom <= top; }

    std::array<std::uint8_t, kByteSize> ToBytes() const {
        std::array<std::uint8_t, kByteSize> bytes{};
        little_endian::PutInt32(&bytes[0], left);
        little_endian::PutInt32(&bytes[4], top);
        little_endian::PutInt32(&bytes[8], right);
        little_endian::PutInt32(&bytes[12], bottom);
        return bytes;
    }

    // Anything but exactly 16 bytes is not a rectangle.
    static std::optional<WindowRect> FromBytes(std::span<const std::uint8_t> bytes) {
        if (bytes.size() != kByteSize) return std::nullopt;
        return WindowRect{little_endian::GetInt32(&bytes[0]), little_endian::GetInt32(&bytes[4]),
                          little_endian::GetInt32(&bytes[8]), little_endian::GetInt32(&bytes[12])};
    }

    bool operator==(const WindowRect&) const = default;
};

}  // namespace settings
