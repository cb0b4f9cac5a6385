#pragma once
// Turns the bytes of one read of a log file into UTF-16 code units.
//
// Nothing is carried inside the decoder: bytes it cannot use yet (the odd
// byte of a UTF-16 unit, the start of a UTF-8 sequence whose rest has not
// been written, trailing NULs) are simply not counted as used, so the caller's
// read position stays before them and the next read brings them again.
//
// Decoding may run in place: the units may be written over the bytes' own
// buffer when the bytes sit at its start (UTF-16LE) or in its second half
// (UTF-8, at most one unit per byte); see ReadPlacement.

#include <cstddef>
#include <cstdint>
#include <optional>

#include "core/TextEncoding.h"

namespace core {

struct DecodedChunk {
    std::size_t units = 0;        // code units written
    std::size_t bytesUsed = 0;    // the bytes those units came from
    std::size_t nulsDropped = 0;  // trailing NUL units (UTF-16) or bytes (UTF-8) left unread
};

// Where to read raw bytes into a buffer of `capacityUnits` code units so that
// Decode can work in place, and how many bytes fit there.
struct ReadPlacement {
    std::size_t byteOffset = 0;
    std::size_t maxBytes = 0;

    // Where the bytes go in a buffer of code units.
    std::uint8_t* In(char16_t* buffer) const {
        return reinterpret_cast<std::uint8_t*>(buffer) + byteOffset;
    }
};

class CTextDecoder {
public:
    // A fixed encoding, or none to decide from the first bytes that hold text.
    explicit CTextDecoder(std::optional<TextEncoding> fixed = std::nullopt) { Reset(fixed); }

    void Reset(std::optional<TextEncoding> fixed) { encoding_ = fixed; }
    bool IsDecided() const { return encoding_.has_value(); }
    TextEncoding Encoding() const { return encoding_.value_or(TextEncoding::Utf16Le); }
    void Decide(TextEncoding encoding) { encoding_ = encoding; }
    // Decides from a sample at file offset `offset` unless decided already.
    bool DecideFrom(const std::uint8_t* bytes, std::size_t n, std::uint64_t offset);

    ReadPlacement PlacementFor(std::size_t capacityUnits) const;

    // Decodes n bytes found at file offset `offset` into out. Undecided, it
    // first decides from these bytes, and decodes nothing when they cannot
    // tell yet. Invalid UTF-8 becomes U+FFFD, one per maximal invalid part.
    DecodedChunk Decode(const std::uint8_t* bytes, std::size_t n, std::uint64_t offset,
                        char16_t* out, bool dropTrailingNuls);

    // What of n bytes read holds text once trailing NULs are left out (and
    // for UTF-16LE an odd last byte), and the NUL units (UTF-16LE) or bytes
    // (UTF-8) left out, as Decode would drop them. Decided encodings only.
    struct TextBytes {
        std::size_t bytes = 0;
        std::size_t nulsDropped = 0;
    };
    TextBytes WithoutTrailingNuls(const std::uint8_t* bytes, std::size_t n) const;

    // Bytes to skip at the start of text that may begin inside a UTF-8
    // sequence (its continuation bytes, at most 3); 0 for UTF-16LE.
    std::size_t SequenceStartSkip(const std::uint8_t* bytes, std::size_t n) const;

private:
    std::optional<TextEncoding> encoding_;
};

}  // namespace core
