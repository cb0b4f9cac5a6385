#pragma once
// Fixed-layout records in the store are little-endian whatever the host is.

#include <cstddef>
#include <cstdint>

namespace settings::little_endian {

inline void PutUint32(std::uint8_t* out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

inline std::uint32_t GetUint32(const std::uint8_t* in) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(in[i]) << (8 * i);
    return value;
}

inline void PutInt32(std::uint8_t* out, std::int32_t value) {
    PutUint32(out, static_cast<std::uint32_t>(value));
}

inline std::int32_t GetInt32(const std::uint8_t* in) {
    return static_cast<std::int32_t>(GetUint32(in));
}

inline void PutUint16(std::uint8_t* out, std::uint16_t value) {
    out[0] = static_cast<std::uint8_t>(value);
    out[1] = static_cast<std::uint8_t>(value >> 8);
}

inline std::uint16_t GetUint16(const std::uint8_t* in) {
    return static_cast<std::uint16_t>(in[0] | (in[1] << 8));
}

}  // namespace settings::little_endian
