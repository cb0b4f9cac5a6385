#pragma once
// Notes for whoever started the program and nobody else: written to
// standard error as whole lines, one writer at a time.

#include <string_view>

namespace platform {

// Writes text and, unless it ends with one, a line feed.
void WriteStandardError(std::string_view text);

}  // namespace platform
