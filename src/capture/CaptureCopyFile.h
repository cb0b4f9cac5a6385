#pragma once
// The file that captured text is copied to: opened for writing, made when
// missing; a new, empty file first gets the byte-order mark FF FE, and all
// text is appended at the end as UTF-16LE. Other programs may read it
// meanwhile.

#include <cstddef>
#include <string>

#include "platform/Utf16AppendFile.h"

namespace capture {

class CCaptureCopyFile {
public:
    // Closes any file open before. False when the file cannot be opened. A
    // new file is the user's alone, as the channel it copies is.
    bool Open(const std::string& pathUtf8) { return file_.Open(pathUtf8, 0600); }
    bool IsOpen() const { return file_.IsOpen(); }
    // False when not everything could be written.
    bool Append(const char16_t* text, std::size_t units) { return file_.Append({text, units}); }
    // Hands what was written to the disk.
    void Flush() { file_.Flush(); }
    void Close() { file_.Close(); }

private:
    platform::CUtf16AppendFile file_;
};

}  // namespace capture
