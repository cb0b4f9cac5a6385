#pragma once
// Why an existing file cannot be read, in the system's words, for messages
// that name the files that failed to open.

#include <string>
#include <string_view>

namespace platform {

// The system's reason ("Permission denied") when the file is there but
// cannot be opened for reading; empty when it can, or when nothing is there
// at all (a missing file needs no reason). Never blocks on a pipe.
std::u16string UnreadableReason(std::u16string_view path);

}  // namespace platform
