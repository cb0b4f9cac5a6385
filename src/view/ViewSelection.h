#pragma once
// The caret, the anchor a Shift move extends from, and the selection kept
// ordered (start before end) whichever way it was made.

#include "core/TextPos.h"

namespace view {

class ViewSelection {
public:
    core::TextPos Caret() const { return caret_; }
    core::TextPos Anchor() const { return anchor_; }
    core::TextPos Start() const { return start_; }
    core::TextPos End() const { return end_; }
    bool IsEmpty() const { return start_ == end_; }

    void SetCaret(core::TextPos caret) { caret_ = caret; }
    void SetAnchor(core::TextPos anchor) { anchor_ = anchor; }
    // Orders the two ends.
    void Select(core::TextPos a, core::TextPos b);
    // Caret and anchor at pos, nothing selected.
    void CollapseTo(core::TextPos pos);
    // Moves the caret to pos, selecting from the anchor.
    void ExtendTo(core::TextPos pos);
    // Whether character ch of line lies inside the selection; ch may be the
    // line's length, standing for its line end.
    bool Contains(core::TextPos pos) const { return start_ <= pos && pos < end_; }

private:
    core::TextPos caret_;
    core::TextPos anchor_;
    core::TextPos start_;
    core::TextPos end_;
};

}  // namespace view
