#include "export/ExportFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/CodePage.h"
#include "platform/SameFile.h"

namespace exporting {

CExportFile::~CExportFile() {
    if (fd_ >= 0) Close();
}

bool CExportFile::Create(const std::u16string& path,
                         std::span<const platform::FileIdentity> refused) {
    if (fd_ >= 0) Close();
    failed_ = false;
    const std::string name = platform::Utf16ToUtf8(path);
    if (name.empty() || name.find('\0') != std::string::npos) return false;
    int fd;
    do {
        fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return false;
    // Emptied only once it is known to be no file that must be kept.
    struct stat st {};
    if (::fstat(fd, &st) != 0 || platform::IsAnyOf(platform::IdentityOfStat(st), refused) ||
        (S_ISREG(st.st_mode) && ::ftruncate(fd, 0) != 0)) {
        ::close(fd);
        return false;
    }
    // Only the opening must not wait; the writes may, as for any file.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    fd_ = fd;
    writer_.emplace(fd_);
    return true;
}

void CExportFile::Write(std::string_view bytes) {
    if (writer_) writer_->AppendBytes(bytes);
}

void CExportFile::Write(std::u16string_view text) {
    if (writer_) writer_->Append(text);
}

void CExportFile::WriteLines(const core::CCrystalTextBuffer& buffer) {
    if (!writer_) return;
    // The buffer writes to the descriptor itself, after what is staged.
    if (!writer_->Flush() || !buffer.WriteLines(fd_)) failed_ = true;
}

bool CExportFile::Close() {
    if (fd_ < 0) return false;
    const bool written = writer_->Flush() && !failed_;
    writer_.reset();
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    return written && closed;
}

}  // namespace exporting
