#pragma once
// Whether two names, descriptors or file records refer to one file: by
// device and inode, whatever path text, link or hard link leads there.

#include <sys/stat.h>

#include <span>

#include "platform/File.h"

namespace platform {

FileIdentity IdentityOfStat(const struct stat& st);

// The file an open descriptor refers to; an unknown identity when it cannot
// be told.
FileIdentity IdentityOfDescriptor(int fd);

// Whether identity is known and one of files.
bool IsAnyOf(const FileIdentity& identity, std::span<const FileIdentity> files);

}  // namespace platform
