#include "platform/SharedObjectLock.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/DebugChannel.h"
#include "platform/PrivateObject.h"

namespace platform {

namespace {

struct flock WholeFile(short type) {
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 0;
    return lock;
}

}  // namespace

// An object of this user's that others may open was not made by this
// program: it goes, and the lock is made afresh.
LockResult CSharedObjectLock::TryAcquire() {
    if (fd_ >= 0) return LockResult::Acquired;
    int fd = shm_open(name_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    struct stat info {};
    if (fd >= 0 && (fstat(fd, &info) != 0 || !IsPrivateToUser(info))) {
        close(fd);
        fd = -1;
        if (info.st_uid == geteuid() && shm_unlink(name_.c_str()) == 0) {
            fd = shm_open(name_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        }
    }
    if (fd < 0) {
        // Another user's object of that name, also one this user may not open.
        return IsOwnedByAnotherUser(SharedMemoryPath(name_)) ? LockResult::OwnedByAnotherUser
                                                             : LockResult::Failed;
    }
    struct flock lock = WholeFile(F_WRLCK);
    if (fcntl(fd, F_OFD_SETLK, &lock) != 0) {
        const bool busy = errno == EAGAIN || errno == EACCES;
        close(fd);
        return busy ? LockResult::HeldElsewhere : LockResult::Failed;
    }
    fd_ = fd;
    return LockResult::Acquired;
}

void CSharedObjectLock::Release() {
    if (fd_ < 0) return;
    close(fd_);  // closing the only descriptor ends the lock
    fd_ = -1;
}

bool CSharedObjectLock::IsHeldByAnyone(const std::string& name) {
    const int fd = shm_open(name.c_str(), O_RDONLY | O_CLOEXEC, 0);
    if (fd < 0) return false;
    if (!IsPrivateToUser(fd)) {
        close(fd);
        return false;
    }
    struct flock lock = WholeFile(F_WRLCK);
    const bool asked = fcntl(fd, F_OFD_GETLK, &lock) == 0;
    close(fd);
    return asked && lock.l_type != F_UNLCK;
}

}  // namespace platform
