#include "platform/PrivateObject.h"

#include <unistd.h>

namespace platform {

bool IsPrivateToUser(const struct stat& info) {
    return S_ISREG(info.st_mode) && info.st_uid == geteuid() && (info.st_mode & 077) == 0;
}

bool IsPrivateToUser(int fd) {
    struct stat info {};
    return fd >= 0 && fstat(fd, &info) == 0 && IsPrivateToUser(info);
}

bool IsOwnedByAnotherUser(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 && info.st_uid != geteuid();
}

}  // namespace platform
