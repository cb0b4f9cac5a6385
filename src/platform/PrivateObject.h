#pragma once
// Objects found under a name in a folder everyone may write (/dev/shm,
// /tmp) are trusted only when they are this user's own and nobody else may
// open them: another local user can plant an object of the expected name
// first, and then read or hold up whatever goes through it.

#include <sys/stat.h>

#include <string>

namespace platform {

// A regular file of this (effective) user with no group or other permission bits.
bool IsPrivateToUser(const struct stat& info);
// The same for an open descriptor; false when it cannot be asked.
bool IsPrivateToUser(int fd);

// True when path names something (a final link is not followed) that
// belongs to another user. False when nothing is there or it is this user's.
bool IsOwnedByAnotherUser(const std::string& path);

}  // namespace platform
