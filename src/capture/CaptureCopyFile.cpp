#include "capture/CaptureCopyFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <bit>
#include <cerrno>
#include <cstdint>
#include <vector>

namespace capture {

bool CCaptureCopyFile::Open(const std::string& pathUtf8) {
    Close();
    const int fd = open(pathUtf8.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return false;
    }
    fd_ = fd;
    if (st.st_size == 0) {
        static constexpr unsigned char kByteOrderMark[] = {0xFF, 0xFE};
        WriteAll(kByteOrderMark, sizeof kByteOrderMark);
    }
    return true;
}

bool CCaptureCopyFile::Append(const char16_t* text, std::size_t units) {
    if (fd_ < 0) return false;
    if constexpr (std::endian::native == std::endian::little) {
        return WriteAll(text, units * 2);
    } else {
        std::vector<unsigned char> bytes(units * 2);
        for (std::size_t i = 0; i < units; ++i) {
            bytes[2 * i] = static_cast<unsigned char>(text[i]);
            bytes[2 * i + 1] = static_cast<unsigned char>(text[i] >> 8);
        }
        return WriteAll(bytes.data(), bytes.size());
    }
}

bool CCaptureCopyFile::WriteAll(const void* bytes, std::size_t n) {
    const auto* p = static_cast<const unsigned char*>(bytes);
    while (n > 0) {
        const ssize_t written = write(fd_, p, n);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        p += written;
        n -= static_cast<std::size_t>(written);
    }
    return true;
}

void CCaptureCopyFile::Flush() {
    if (fd_ >= 0) fdatasync(fd_);
}

void CCaptureCopyFile::Close() {
    if (fd_ < 0) return;
    close(fd_);
    fd_ = -1;
}

}  // namespace capture
