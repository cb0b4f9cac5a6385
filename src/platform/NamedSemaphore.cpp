#include "platform/NamedSemaphore.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

#include "platform/DebugChannel.h"
#include "platform/PrivateObject.h"

namespace platform {

bool CNamedSemaphore::Create(const std::string& name) {
    Close();
    sem_t* sem = sem_open(name.c_str(), O_CREAT | O_EXCL, 0600, 0);
    if (sem == SEM_FAILED) return false;
    sem_ = sem;
    mapped_ = false;
    return true;
}

bool CNamedSemaphore::Open(const std::string& name) {
    Close();
    const int fd = open(SemaphorePath(name).c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info {};
    void* map = MAP_FAILED;
    if (fstat(fd, &info) == 0 && IsPrivateToUser(info) &&
        info.st_size >= static_cast<off_t>(sizeof(sem_t))) {
        map = mmap(nullptr, sizeof(sem_t), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    }
    close(fd);
    if (map == MAP_FAILED) return false;
    sem_ = static_cast<sem_t*>(map);
    mapped_ = true;
    return true;
}

void CNamedSemaphore::Close() {
    if (!sem_) return;
    if (mapped_) {
        munmap(sem_, sizeof(sem_t));
    } else {
        sem_close(sem_);
    }
    sem_ = nullptr;
}

void CNamedSemaphore::Post() {
    if (sem_) sem_post(sem_);
}

bool CNamedSemaphore::TryWait() {
    return sem_ && sem_trywait(sem_) == 0;
}

SemaphoreWait CNamedSemaphore::WaitFor(int ms) {
    if (!sem_) return SemaphoreWait::Failed;
    timespec deadline{};
    clock_gettime(CLOCK_MONOTONIC, &deadline);
    deadline.tv_sec += ms / 1000;
    deadline.tv_nsec += static_cast<long>(ms % 1000) * 1000000L;
    deadline.tv_sec += deadline.tv_nsec / 1000000000L;
    deadline.tv_nsec %= 1000000000L;
    while (sem_clockwait(sem_, CLOCK_MONOTONIC, &deadline) != 0) {
        if (errno == ETIMEDOUT) return SemaphoreWait::TimedOut;
        if (errno != EINTR) return SemaphoreWait::Failed;
    }
    return SemaphoreWait::Taken;
}

int CNamedSemaphore::Value() const {
    int value = 0;
    if (sem_) sem_getvalue(sem_, &value);
    return value;
}

}  // namespace platform
