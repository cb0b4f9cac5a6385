#include "core/UndoHistory.h"

#include <utility>

namespace core {

void CUndoHistory::Clear(bool savedReachable) {
    records_.clear();
    position_ = 0;
    savedPosition_ = savedReachable ? 0 : kUnreachable;
    groupOpen_ = false;
    nextBeginsGroup_ = false;
}

void CUndoHistory::Add(bool insertion, TextPos start, TextPos end, int action,
                       std::u16string_view text) {
    DropRedoRecords();
    if (RecordCount() >= kLimit) DropOldestGroup();

    UndoRecord record;
    record.flags = insertion ? UndoRecord::kInsertion : 0;
    // A record that would continue a group whose start was dropped begins one,
    // so that undo still stops at a group boundary.
    if (!groupOpen_ || nextBeginsGroup_ || records_.empty())
        record.flags |= UndoRecord::kBeginsGroup;
    nextBeginsGroup_ = false;
    record.start = start;
    record.end = end;
    record.action = action;
    record.text.assign(text);
    records_.push_back(std::move(record));
    ++position_;
}

void CUndoHistory::BeginGroup(bool mergeWithPrevious) {
    groupOpen_ = true;
    nextBeginsGroup_ = !mergeWithPrevious;
}

void CUndoHistory::FlushGroup() {
    groupOpen_ = false;
    nextBeginsGroup_ = false;
}

const UndoRecord& CUndoHistory::StepBack() {
    return Record(--position_);
}

const UndoRecord& CUndoHistory::StepForward() {
    return Record(position_++);
}

bool CUndoHistory::AtGroupStart() const {
    return !CanRedo() || Record(position_).BeginsGroup();
}

void CUndoHistory::DropRedoRecords() {
    if (!CanRedo()) return;
    records_.erase(records_.begin() + position_, records_.end());
    if (savedPosition_ > position_) savedPosition_ = kUnreachable;
}

// Drops records from the oldest up to, not including, the next record that
// begins a group, so that only whole groups go.
void CUndoHistory::DropOldestGroup() {
    int count = 1;
    while (count < RecordCount() && !Record(count).BeginsGroup()) ++count;
    records_.erase(records_.begin(), records_.begin() + count);
    position_ -= count;
    savedPosition_ = savedPosition_ >= count ? savedPosition_ - count : kUnreachable;
}

}  // namespace core
