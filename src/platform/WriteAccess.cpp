#include "platform/WriteAccess.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

bool OpenOrCreateForWriting(const std::string& path) {
    if (path.empty()) return false;
    int fd;
    do {
        // O_NONBLOCK: a pipe without a reader fails at once instead of
        // blocking the dialog until someone reads it.
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

}  // namespace platform
