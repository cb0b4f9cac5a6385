#pragma once
// Whether a file can be written: what a dialog checks before it accepts a
// path that an action will write to later.

#include <string>

namespace platform {

// Opens the file for writing, creating it (empty) when missing, and closes
// it again; its contents stay as they were. Directories, and pipes without a
// reader, are refused without waiting. Path in UTF-8.
bool OpenOrCreateForWriting(const std::string& path);

}  // namespace platform
