#include "platform/Utf16AppendFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <bit>
#include <cerrno>
#include <vector>

#include "platform/LinkSafeOpen.h"
#include "platform/SameFile.h"

namespace platform {

bool CUtf16AppendFile::Open(const std::string& pathUtf8, mode_t mode,
                            std::span<const FileIdentity> refused) {
    Close();
    // O_NONBLOCK: a pipe without a reader fails at once instead of waiting
    // for one; the check below refuses any other pipe.
    const int fd = OpenRefusingForeignLinks(
        pathUtf8, O_WRONLY | O_CREAT | O_APPEND | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, mode);
    if (fd < 0) return false;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || IsAnyOf(IdentityOfStat(st), refused)) {
        close(fd);
        return false;
    }
    fd_ = fd;
    if (st.st_size == 0) {
        static constexpr unsigned char kByteOrderMark[] = {0xFF, 0xFE};
        if (!WriteAll(kByteOrderMark, sizeof kByteOrderMark)) {
            Close();
            return false;
        }
    }
    return true;
}

bool CUtf16AppendFile::Append(std::u16string_view text) {
    if (fd_ < 0) return false;
    if constexpr (std::endian::native == std::endian::little) {
        return WriteAll(text.data(), text.size() * 2);
    } else {
        std::vector<unsigned char> bytes(text.size() * 2);
        for (std::size_t i = 0; i < text.size(); ++i) {
            bytes[2 * i] = static_cast<unsigned char>(text[i]);
            bytes[2 * i + 1] = static_cast<unsigned char>(text[i] >> 8);
        }
        return WriteAll(bytes.data(), bytes.size());
    }
}

bool CUtf16AppendFile::WriteAll(const void* bytes, std::size_t n) {
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

void CUtf16AppendFile::Flush() {
    if (fd_ >= 0) fdatasync(fd_);
}

void CUtf16AppendFile::Close() {
    if (fd_ < 0) return;
    close(fd_);
    fd_ = -1;
}

}  // namespace platform
