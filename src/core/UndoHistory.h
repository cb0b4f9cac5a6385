#pragma once
// The bounded history of the user's edits. Records form groups (one user
// command may make several edits); undo and redo move over whole groups. At
// the limit the oldest whole group is dropped before a record is added.

#include <string_view>
#include <vector>

#include "core/UndoRecord.h"

namespace core {

class CUndoHistory {
public:
    static constexpr int kLimit = 1024;
    static constexpr int kUnreachable = -1;

    // Drops every record. `savedReachable` tells whether the current text is the
    // one last marked as not modified, so that undoing later edits can return to it.
    void Clear(bool savedReachable);

    // Discards the records that could be redone, makes room at the limit and
    // appends the record. Outside a group every record begins its own group.
    void Add(bool insertion, TextPos start, TextPos end, int action, std::u16string_view text);

    // The next edit records go into one group. With `mergeWithPrevious` they
    // join the group that was recorded last.
    void BeginGroup(bool mergeWithPrevious);
    void FlushGroup();
    bool GroupOpen() const { return groupOpen_; }

    bool CanUndo() const { return position_ > 0; }
    bool CanRedo() const { return position_ < RecordCount(); }
    // Moves the redo index back over one record and returns it.
    const UndoRecord& StepBack();
    // Returns the record at the redo index and moves past it.
    const UndoRecord& StepForward();
    // True when the record at the redo index begins a group, or none is left.
    bool AtGroupStart() const;

    void MarkSaved() { savedPosition_ = position_; }
    bool AtSavedPosition() const { return position_ == savedPosition_; }

    int RecordCount() const { return static_cast<int>(records_.size()); }
    int Position() const { return position_; }
    const UndoRecord& Record(int index) const { return records_[static_cast<std::size_t>(index)]; }

private:
    void DropRedoRecords();
    void DropOldestGroup();

    std::vector<UndoRecord> records_;
    int position_ = 0;  // index of the next record to redo
    int savedPosition_ = 0;
    bool groupOpen_ = false;
    bool nextBeginsGroup_ = false;
};

}  // namespace core
