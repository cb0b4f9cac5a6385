#include "FileActions.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

namespace testwriter {

namespace {

std::string Failure(const char* what, const std::string& path) {
    return std::string(what) + " '" + path + "': " + std::strerror(errno);
}

// A file descriptor that closes itself.
class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }

private:
    int fd_;
};

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool WriteAllAt(int fd, const char* data, std::size_t size, off_t offset) {
    while (size > 0) {
        const ssize_t n = pwrite(fd, data, size, offset);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
        offset += n;
    }
    return true;
}

int OpenForAppend(const std::string& path) {
    return open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
}

bool ReadWhole(const std::string& path, std::string& bytes) {
    Fd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid()) return false;
    char buf[65536];
    for (;;) {
        const ssize_t n = read(fd.get(), buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) return true;
        bytes.append(buf, static_cast<std::size_t>(n));
    }
}

std::string WriteNewFile(const std::string& path, const std::string& bytes) {
    Fd fd(open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (!fd.valid()) return Failure("cannot create", path);
    if (!WriteAll(fd.get(), bytes.data(), bytes.size())) return Failure("cannot write", path);
    return {};
}

// Offset where the run of NUL bytes at the end of `bytes` starts, rounded up
// to a whole unit so that a UTF-16 unit ending in a NUL byte is kept.
std::size_t TrailingNulStart(const std::string& bytes, std::size_t unitSize) {
    std::size_t end = bytes.size();
    while (end > 0 && bytes[end - 1] == '\0') --end;
    return (end + unitSize - 1) / unitSize * unitSize;
}

}  // namespace

std::string AppendBytes(const std::string& path, const std::string& bytes) {
    Fd fd(OpenForAppend(path));
    if (!fd.valid()) return Failure("cannot open", path);
    if (!WriteAll(fd.get(), bytes.data(), bytes.size())) return Failure("cannot write", path);
    return {};
}

std::string AppendInPieces(const std::string& path, const std::string& bytes, std::size_t pieceSize,
                           unsigned pauseMs) {
    Fd fd(OpenForAppend(path));
    if (!fd.valid()) return Failure("cannot open", path);
    if (pieceSize == 0) pieceSize = 1;
    for (std::size_t at = 0; at < bytes.size(); at += pieceSize) {
        if (at > 0) Pause(pauseMs);
        const std::size_t size = std::min(pieceSize, bytes.size() - at);
        if (!WriteAll(fd.get(), bytes.data() + at, size)) return Failure("cannot write", path);
    }
    return {};
}

std::string OverwriteTrailingNuls(const std::string& path, const std::string& bytes,
                                  std::size_t unitSize) {
    std::string current;
    if (!ReadWhole(path, current)) return Failure("cannot read", path);
    Fd fd(open(path.c_str(), O_WRONLY | O_CLOEXEC));
    if (!fd.valid()) return Failure("cannot open", path);
    const auto offset = static_cast<off_t>(TrailingNulStart(current, unitSize));
    if (!WriteAllAt(fd.get(), bytes.data(), bytes.size(), offset)) {
        return Failure("cannot write", path);
    }
    return {};
}

std::string AppendNuls(const std::string& path, std::size_t count) {
    return AppendBytes(path, std::string(count, '\0'));
}

std::string AppendJunk(const std::string& path, std::size_t count, std::uint32_t seed) {
    std::string bytes(count, '\0');
    std::uint32_t state = seed * 2654435761u + 1;
    for (char& b : bytes) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        b = static_cast<char>(state >> 24);
    }
    return AppendBytes(path, bytes);
}

std::string Truncate(const std::string& path, std::uint64_t size) {
    Fd fd(open(path.c_str(), O_WRONLY | O_CLOEXEC));
    if (!fd.valid()) return Failure("cannot open", path);
    if (ftruncate(fd.get(), static_cast<off_t>(size)) != 0) return Failure("cannot cut", path);
    return {};
}

std::string CopyTruncate(const std::string& path) {
    std::string bytes;
    if (!ReadWhole(path, bytes)) return Failure("cannot read", path);
    if (std::string failed = WriteNewFile(path + ".1", bytes); !failed.empty()) return failed;
    return Truncate(path, 0);
}

std::string Rotate(const std::string& path) {
    if (rename(path.c_str(), (path + ".1").c_str()) != 0) return Failure("cannot rename", path);
    return WriteNewFile(path, {});
}

std::string Replace(const std::string& path, const std::string& bytes) {
    const std::string fresh = path + ".new";
    if (std::string failed = WriteNewFile(fresh, bytes); !failed.empty()) return failed;
    if (rename(fresh.c_str(), path.c_str()) != 0) return Failure("cannot rename over", path);
    return {};
}

std::string Delete(const std::string& path) {
    if (unlink(path.c_str()) != 0) return Failure("cannot delete", path);
    return {};
}

std::string Create(const std::string& path) {
    Fd fd(open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644));
    if (!fd.valid()) return Failure("cannot create", path);
    return {};
}

std::string MakeDirectory(const std::string& path) {
    if (mkdir(path.c_str(), 0755) != 0) return Failure("cannot make the folder", path);
    return {};
}

std::string ChangeMode(const std::string& path, unsigned mode) {
    if (chmod(path.c_str(), static_cast<mode_t>(mode)) != 0) {
        return Failure("cannot change the mode of", path);
    }
    return {};
}

void Pause(unsigned ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace testwriter
