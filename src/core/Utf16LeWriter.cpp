#include "core/Utf16LeWriter.h"

#include <unistd.h>

#include <cerrno>

namespace core {

CUtf16LeWriter::CUtf16LeWriter(int fd) : fd_(fd) {
    staging_.reserve(kStagingBytes);
}

void CUtf16LeWriter::Append(std::u16string_view text) {
    for (const char16_t unit : text) {
        if (staging_.size() + 2 > kStagingBytes) Flush();
        staging_.push_back(static_cast<unsigned char>(unit & 0xFF));
        staging_.push_back(static_cast<unsigned char>(unit >> 8));
    }
}

void CUtf16LeWriter::AppendBytes(std::string_view bytes) {
    for (const char byte : bytes) {
        if (staging_.size() + 1 > kStagingBytes) Flush();
        staging_.push_back(static_cast<unsigned char>(byte));
    }
}

bool CUtf16LeWriter::Flush() {
    if (!failed_ && !staging_.empty()) failed_ = !WriteAll(staging_.data(), staging_.size());
    staging_.clear();
    return !failed_;
}

bool CUtf16LeWriter::WriteAll(const unsigned char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd_, data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (written == 0) return false;
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

}  // namespace core
