#pragma once
// The texts a test hands the writer are escaped so that one command fits on
// one line and any byte can be written: \n \r \t \0 \\ \xHH (a byte, or a code
// unit in UTF-16 text) and \uHHHH (a code point in UTF-8 text, or exactly
// that code unit in UTF-16 text, lone surrogates included).

#include <optional>
#include <string>
#include <string_view>

namespace testwriter {

enum class TextEncoding { Utf8, Utf16Le };

std::optional<TextEncoding> ParseEncoding(std::string_view name);

// The bytes to write for an escaped text; nullopt for a malformed escape.
std::optional<std::string> EncodeEscaped(std::string_view escaped, TextEncoding encoding);

}  // namespace testwriter
