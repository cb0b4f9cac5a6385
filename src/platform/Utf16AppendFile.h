#pragma once
// A text file that grows at its end in UTF-16LE: opened for writing and made
// when missing; a new, empty file first gets the byte-order mark FF FE, a
// file with contents gets none, whatever it held before. Other programs may
// read it meanwhile. Only regular files are taken, so that a pipe or device
// named by mistake never holds up the writer, and a symbolic link is
// followed only when it belongs to the user or root (LinkSafeOpen.h).

#include <sys/types.h>

#include <span>
#include <string>
#include <string_view>

#include "platform/File.h"

namespace platform {

class CUtf16AppendFile {
public:
    CUtf16AppendFile() = default;
    ~CUtf16AppendFile() { Close(); }
    CUtf16AppendFile(const CUtf16AppendFile&) = delete;
    CUtf16AppendFile& operator=(const CUtf16AppendFile&) = delete;

    // Closes any file open before. A missing file is made with mode (less
    // the umask). False when the file cannot be opened, is not a regular
    // file, or is one of the refused files; nothing is written then.
    bool Open(const std::string& pathUtf8, mode_t mode = 0644,
              std::span<const FileIdentity> refused = {});
    bool IsOpen() const { return fd_ >= 0; }
    // Appends at the end as it is now. False when not everything was written.
    bool Append(std::u16string_view text);
    // Hands what was written to the disk.
    void Flush();
    void Close();

private:
    bool WriteAll(const void* bytes, std::size_t n);

    int fd_ = -1;
};

}  // namespace platform
