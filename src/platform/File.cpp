#include "platform/File.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "platform/SameFile.h"

namespace platform {

namespace {

int CloseRetryingNothing(int fd) {
    // close must not be retried on EINTR: the descriptor is gone either way.
    return ::close(fd);
}

}  // namespace

CFile::~CFile() {
    Close();
}

CFile::CFile(CFile&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

CFile& CFile::operator=(CFile&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

bool CFile::OpenForReading(const std::string& path, std::uint32_t /*shareMode*/) {
    Close();
    if (path.empty()) return false;
    // O_NONBLOCK keeps a FIFO from blocking the open; it is refused below anyway.
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return false;

    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        CloseRetryingNothing(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

void CFile::Close() {
    if (fd_ >= 0) CloseRetryingNothing(std::exchange(fd_, -1));
}

long long CFile::ReadAt(std::uint64_t offset, void* buffer, std::size_t n) const {
    if (fd_ < 0) return -1;
    if (n == 0) return 0;
    ssize_t got;
    do {
        got = ::pread(fd_, buffer, n, static_cast<off_t>(offset));
    } while (got < 0 && errno == EINTR);
    return got < 0 ? -1 : static_cast<long long>(got);
}

bool CFile::Size(std::uint64_t& size) const {
    struct stat st {};
    if (fd_ < 0 || ::fstat(fd_, &st) != 0) return false;
    size = static_cast<std::uint64_t>(st.st_size);
    return true;
}

bool CFile::Identity(FileIdentity& identity) const {
    struct stat st {};
    if (fd_ < 0 || ::fstat(fd_, &st) != 0) return false;
    identity = IdentityOfStat(st);
    return true;
}

bool CFile::SizeOfPath(const std::string& path, std::uint64_t& size) {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0) return false;
    size = static_cast<std::uint64_t>(st.st_size);
    return true;
}

bool CFile::IdentityOfPath(const std::string& path, FileIdentity& identity) {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0) return false;
    identity = IdentityOfStat(st);
    return true;
}

bool CFile::SizeAndIdentityOfPath(const std::string& path, std::uint64_t& size,
                                  FileIdentity& identity) {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0) return false;
    size = static_cast<std::uint64_t>(st.st_size);
    identity = IdentityOfStat(st);
    return true;
}

bool CFile::TruncateToZero(const std::string& path) {
    if (path.empty()) return false;
    int fd;
    do {
        fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return false;

    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (ok) {
        int rc;
        do {
            rc = ::ftruncate(fd, 0);
        } while (rc != 0 && errno == EINTR);
        ok = rc == 0;
    }
    return CloseRetryingNothing(fd) == 0 && ok;
}

}  // namespace platform
