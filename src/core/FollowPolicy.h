#pragma once
// Whether a document's view follows the end when new text arrives, decided
// before the text is inserted.

#include "core/ILogView.h"

namespace core {

struct FollowFacts {
    const ILogView* view = nullptr;
    // The caret stood exactly at the end of the text.
    bool caretAtEnd = false;
};

// Follows when there is no view or its caret is at the end. The scrolling
// options of monitoring refine this here.
bool DecideFollowEnd(const FollowFacts& facts);

}  // namespace core
