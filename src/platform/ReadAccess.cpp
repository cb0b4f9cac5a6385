#include "platform/ReadAccess.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/CodePage.h"

namespace platform {

std::u16string UnreadableReason(std::u16string_view path) {
    const std::string utf8 = Utf16ToUtf8(path);
    struct stat info {};
    if (::lstat(utf8.c_str(), &info) != 0 && errno == ENOENT) return {};
    const int fd = ::open(utf8.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
        ::close(fd);
        return {};
    }
    return Utf8ToUtf16(std::strerror(errno));
}

}  // namespace platform
