#pragma once
// How a value (text from a log, a path, a phrase) goes into a web hook post:
// inside a JSON string of the body, or into the URL. Either way the value can
// never end the string or the URL part it stands in, nor bring in text that
// would be read as a tag.

#include <string>
#include <string_view>

namespace mail {

// Appends value escaped for the inside of a JSON string: quote and backslash
// escaped, every control character (U+0000 to U+001F, U+007F to U+009F) and
// the two line and paragraph separators written as \uXXXX, a lone surrogate
// replaced by U+FFFD; everything else as it is.
void AppendJsonEscaped(std::u16string_view value, std::u16string& out);

// Appends value percent-encoded: its UTF-8 bytes (a lone surrogate as U+FFFD),
// each byte other than A-Z a-z 0-9 - . _ ~ as %XX with upper-case digits.
void AppendPercentEncoded(std::u16string_view value, std::u16string& out);

}  // namespace mail
