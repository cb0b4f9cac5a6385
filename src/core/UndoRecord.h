#pragma once
// One edit in the undo history: an insertion or a deletion of text between
// two positions. Short texts live inside the record (the string's own small
// buffer), longer ones are owned copies.

#include <cstdint>
#include <string>

#include "core/TextPos.h"

namespace core {

struct UndoRecord {
    static constexpr std::uint32_t kInsertion = 0x0001;
    static constexpr std::uint32_t kBeginsGroup = 0x0100;

    std::uint32_t flags = 0;
    TextPos start;
    TextPos end;
    int action = 0;  // caller-defined code of the edit
    std::u16string text;

    bool IsInsertion() const { return (flags & kInsertion) != 0; }
    bool BeginsGroup() const { return (flags & kBeginsGroup) != 0; }
};

}  // namespace core
