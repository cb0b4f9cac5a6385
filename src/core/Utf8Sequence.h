#pragma once
// The shape of UTF-8 sequences, shared by the decoder and by the detection of
// a file's encoding. Inline: the decoder runs them for every non-ASCII byte.

#include <cstddef>
#include <cstdint>

namespace core {

inline bool IsUtf8Continuation(std::uint8_t b) {
    return (b & 0xC0) == 0x80;
}

// The length of the sequence a lead byte starts, 0 when it cannot start one.
inline int Utf8SequenceLength(std::uint8_t lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

// Whether the byte after the lead is allowed: the narrower ranges keep out
// overlong forms, surrogates and code points above U+10FFFF.
inline bool IsValidUtf8Second(std::uint8_t lead, std::uint8_t second) {
    switch (lead) {
        case 0xE0:
            return second >= 0xA0 && second <= 0xBF;
        case 0xED:
            return second >= 0x80 && second <= 0x9F;
        case 0xF0:
            return second >= 0x90 && second <= 0xBF;
        case 0xF4:
            return second >= 0x80 && second <= 0x8F;
        default:
            return IsUtf8Continuation(second);
    }
}

// How many bytes from bytes[0] (a lead of `length`) form a valid beginning
// of its sequence, looking at no more than `available` bytes.
inline int Utf8ValidPrefix(const std::uint8_t* bytes, int length, std::size_t available) {
    int valid = 1;
    while (valid < length && static_cast<std::size_t>(valid) < available) {
        const bool ok =
            valid == 1 ? IsValidUtf8Second(bytes[0], bytes[1]) : IsUtf8Continuation(bytes[valid]);
        if (!ok) break;
        ++valid;
    }
    return valid;
}

}  // namespace core
