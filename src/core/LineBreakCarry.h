#pragma once
// Line breaks split between two reads. CR LF and LF CR are one break each,
// so a CR or LF that ends one read may pair with the LF or CR that begins the
// next. The unit that ended a read is shown as a break at once (opening the
// file at that moment shows the same); its partner, when it comes first in
// the next read, is then dropped, so following shows what opening the whole
// file shows.

#include <cstddef>

namespace core {

class CLineBreakCarry {
public:
    // Units at the start of a read (0 or 1) that complete the pair the last
    // read ended with, given the read's raw units (before normalising). n == 0
    // is no read and keeps the pending unit.
    std::size_t TakePartner(const char16_t* units, std::size_t n);
    // Remembers whether the raw units of a read end in a CR or LF that did
    // not pair with the unit before it.
    void NoteEnd(const char16_t* units, std::size_t n);
    // The next read starts a new file, or the file from its start.
    void Reset() { pending_ = 0; }

private:
    char16_t pending_ = 0;
};

}  // namespace core
