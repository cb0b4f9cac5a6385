#pragma once
// Opening a file for writing on the user's behalf in a folder others may
// write to (/tmp): a symbolic link as the last part of the path is followed
// only when it belongs to this user or to root, wherever it lies, so a link
// planted by another user never leads a write into the user's own files.

#include <sys/types.h>

#include <string>

namespace platform {

// open(path, flags, mode) under that rule, retried on EINTR. A link that is
// refused, or that changed while it was followed, gives -1 with errno ELOOP;
// otherwise -1 with open's errno.
int OpenRefusingForeignLinks(const std::string& path, int flags, mode_t mode);

}  // namespace platform
