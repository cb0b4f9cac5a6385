#pragma once
// The file an export writes: created anew (emptied when it exists), written
// through a staging buffer, and closed. Creating and writing fail apart, so
// a caller can tell a file that could not be made from one that was left
// incomplete.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/CrystalTextBuffer.h"
#include "core/Utf16LeWriter.h"
#include "platform/File.h"

namespace exporting {

class CExportFile {
public:
    CExportFile() = default;
    ~CExportFile();
    CExportFile(const CExportFile&) = delete;
    CExportFile& operator=(const CExportFile&) = delete;

    // Creates the file, or empties the one there. A pipe without a reader
    // is refused at once rather than waited on, and a file among refused
    // (a followed log, under whatever name or link) is left as it is. False
    // when nothing could be opened for writing.
    bool Create(const std::u16string& path, std::span<const platform::FileIdentity> refused = {});

    // 8-bit text, written as it is.
    void Write(std::string_view bytes);
    // UTF-16 text, written little-endian.
    void Write(std::u16string_view text);
    // The buffer's lines in UTF-16, CR LF between them, none after the last.
    void WriteLines(const core::CCrystalTextBuffer& buffer);

    // Writes what is staged and closes the file. False when any write, or
    // the closing itself, failed: the file is then incomplete.
    bool Close();

private:
    int fd_ = -1;
    std::optional<core::CUtf16LeWriter> writer_;
    bool failed_ = false;
};

}  // namespace exporting
