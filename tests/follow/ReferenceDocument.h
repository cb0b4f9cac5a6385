#pragma once
// What a document following a UTF-16LE file must show, worked out from the
// rules alone and independently of the document's code: the tail loaded at
// opening, each poll's growth, normalising (a CR or LF that ends one read
// pairs with the LF or CR that begins the next, as in the whole file), the
// reset and re-reading from offset 0 after a cut in place (or a deletion
// beyond the 1024-byte tolerance), a replacement read on in the same display
// (the rest of the old file, its last line ended, then the new file from its
// start), include/exclude filtering with the carried-over partial line, and
// trimming at the buffer limit.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ModelFile.h"

namespace follow_test {

struct ReferenceSettings {
    bool limitBufSize = true;
    std::uint32_t maxBufSiz = 20971520;
    int retainLineNum = 10;
    // Plain, case-sensitive phrases; empty means no such filter.
    std::u16string include;
    std::u16string exclude;
};

class ReferenceDocument {
public:
    explicit ReferenceDocument(ReferenceSettings settings) : settings_(std::move(settings)) {}

    // Loads the tail of a file of at most 32 KiB; false when it does not exist.
    bool Open(const ModelFile& file);
    void Poll(const ModelFile& file);

    const std::vector<std::u16string>& Lines() const { return lines_; }
    std::uint64_t ReadPosition() const { return readPosition_; }
    std::uint32_t TextSize() const { return textSize_; }
    bool HandleOpen() const { return handleOpen_; }

private:
    std::u16string Normalize(std::u16string_view units);
    bool FiltersActive() const;
    bool Accept(std::u16string_view line) const;
    std::u16string Filter(std::u16string_view text);
    void Insert(std::u16string_view text);
    void Append(std::u16string_view text);
    void Trim();
    void ReadGrowth(const std::string& bytes);
    void FollowReplacement(const ModelFile& file);
    void Reset();

    ReferenceSettings settings_;
    std::vector<std::u16string> lines_{u""};
    bool handleOpen_ = false;
    int handleIdentity_ = 0;
    std::uint64_t readPosition_ = 0;
    std::uint32_t textSize_ = 0;
    std::u16string partial_;
    bool partialShown_ = false;
    // A CR or LF that ended the last read without its partner; 0 for none.
    char16_t lastLoneBreak_ = 0;
};

}  // namespace follow_test
