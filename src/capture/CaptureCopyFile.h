#pragma once
// The file that captured text is copied to: opened for writing, made when
// missing; a new, empty file first gets the byte-order mark FF FE, and all
// text is appended at the end as UTF-16LE. Other programs may read it
// meanwhile.

#include <cstddef>
#include <string>

namespace capture {

class CCaptureCopyFile {
public:
    CCaptureCopyFile() = default;
    ~CCaptureCopyFile() { Close(); }
    CCaptureCopyFile(const CCaptureCopyFile&) = delete;
    CCaptureCopyFile& operator=(const CCaptureCopyFile&) = delete;

    // Closes any file open before. False when the file cannot be opened.
    bool Open(const std::string& pathUtf8);
    bool IsOpen() const { return fd_ >= 0; }
    // False when not everything could be written.
    bool Append(const char16_t* text, std::size_t units);
    // Hands what was written to the disk.
    void Flush();
    void Close();

private:
    bool WriteAll(const void* bytes, std::size_t n);

    int fd_ = -1;
};

}  // namespace capture
