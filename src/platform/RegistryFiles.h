#pragma once
// File-system chores of the settings store: a private folder, a private
// database file, and moving a damaged file out of the way.

#include <string>

namespace platform::registry_files {

// Creates every missing folder above path with mode 0700.
bool EnsureParentFolder(const std::string& path);
// Creates the file with mode 0600 when it is missing; an existing file is
// left as it is.
bool CreatePrivateFile(const std::string& path);
// Sets mode 0600 on the database and on its -wal and -shm companions.
void RestrictModes(const std::string& path);
// Renames the file and its companions to "<path>.damaged-<timestamp>" and
// returns the new name, empty when the rename failed.
std::string MoveAside(const std::string& path);

}  // namespace platform::registry_files
