#include "platform/LinkSafeOpen.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

namespace {

int OpenRetrying(const std::string& path, int flags, mode_t mode) {
    int fd;
    do {
        fd = ::open(path.c_str(), flags, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

bool IsTrustedLink(const struct stat& link) {
    return S_ISLNK(link.st_mode) && (link.st_uid == geteuid() || link.st_uid == 0);
}

bool SameInode(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

int Refuse(int fd) {
    if (fd >= 0) ::close(fd);
    errno = ELOOP;
    return -1;
}

}  // namespace

int OpenRefusingForeignLinks(const std::string& path, int flags, mode_t mode) {
    // Nearly always there is no link: one open, nothing to check.
    const int direct = OpenRetrying(path, flags | O_NOFOLLOW, mode);
    if (direct >= 0 || errno != ELOOP) return direct;
    struct stat link {};
    if (::lstat(path.c_str(), &link) != 0 || !IsTrustedLink(link)) return Refuse(-1);
    const int fd = OpenRetrying(path, flags & ~O_NOFOLLOW, mode);
    if (fd < 0) return -1;
    // The link may have been swapped between the look and the open: it must
    // still be the same trusted link, and lead to the file that was opened.
    struct stat again {};
    struct stat target {};
    struct stat opened {};
    if (::lstat(path.c_str(), &again) != 0 || !SameInode(again, link) || !IsTrustedLink(again) ||
        ::stat(path.c_str(), &target) != 0 || ::fstat(fd, &opened) != 0 ||
        !SameInode(target, opened)) {
        return Refuse(fd);
    }
    return fd;
}

}  // namespace platform
