#pragma once
// The encodings a log file is read in.

#include <cstddef>
#include <cstdint>
#include <optional>

namespace core {

enum class TextEncoding { Utf16Le, Utf8 };

// What the first bytes of a file say about its encoding, without a
// byte-order mark: UTF-16LE when NUL bytes stand at the odd offsets of most
// code units that hold text, as ASCII-range text in UTF-16LE has them;
// otherwise UTF-8. Nothing (std::nullopt) when the bytes hold no text to
// judge yet. offset is the file offset of bytes[0], which tells which bytes
// are the high halves of code units.
std::optional<TextEncoding> DetectEncoding(const std::uint8_t* bytes, std::size_t n,
                                           std::uint64_t offset);

// The length of the byte-order mark at the start of a file for the given
// encoding (FF FE for UTF-16LE, EF BB BF for UTF-8), 0 when there is none.
std::size_t ByteOrderMarkLength(const std::uint8_t* head, std::size_t n, TextEncoding encoding);

}  // namespace core
