#pragma once
// Whether a document's view follows the end when new text arrives, decided
// before the text is inserted. Text is appended in every case; the policy
// only decides whether the view moves. Since it is asked again at every
// arrival, following resumes by itself once the user scrolls back to the
// bottom, back to the left, or puts the caret at the end.

#include "core/ILogView.h"
#include "core/TextPos.h"
#include "settings/Options.h"

namespace core {

struct FollowSettings {
    // Always follow, whatever the user does in the view.
    bool forcePoll = false;
    bool stopWhenVScrollUp = true;
    bool stopWhenHScrollRight = false;
    bool stopWhenCaretNotAtEnd = false;
};

// What the view shows before the insertion.
struct FollowFacts {
    bool hasView = false;
    int lineCount = 1;
    int topLine = 0;
    // Whole lines that fit: client height divided by line height.
    int screenLines = 0;
    int firstVisibleColumn = 0;
    TextPos caret;
    // Length of the last line, last line.
    TextPos textEnd;
};

FollowSettings FollowSettingsOf(const settings::Options& options);
FollowFacts FollowFactsOf(const ILogView* view, int lineCount, TextPos textEnd);

// The view is at the bottom when its top line is the one that puts the last
// line on the last screen row: max(0, lines - screen lines).
int BottomTopLine(int lineCount, int screenLines);

// Without a view there is nothing to hold back: it follows.
bool DecideFollowEnd(const FollowSettings& settings, const FollowFacts& facts);

}  // namespace core
