#include "core/FollowPolicy.h"

#include <algorithm>

namespace core {

FollowSettings FollowSettingsOf(const settings::Options& options) {
    return {options.ForcePoll, options.StopPollWhenVScrollUp, options.StopPollWhenHScrollRight,
            options.StopPollWhenMoveCaretNotAtEnd};
}

FollowFacts FollowFactsOf(const ILogView* view, int lineCount, TextPos textEnd) {
    FollowFacts facts;
    facts.lineCount = lineCount;
    facts.textEnd = textEnd;
    if (!view) return facts;
    facts.hasView = true;
    facts.topLine = view->GetTopLine();
    facts.screenLines = view->GetScreenLines();
    facts.firstVisibleColumn = view->GetFirstVisibleColumn();
    facts.caret = view->GetCursorPos();
    return facts;
}

int BottomTopLine(int lineCount, int screenLines) {
    return std::max(0, lineCount - screenLines);
}

bool DecideFollowEnd(const FollowSettings& settings, const FollowFacts& facts) {
    if (!facts.hasView || settings.forcePoll) return true;
    if (settings.stopWhenVScrollUp &&
        facts.topLine != BottomTopLine(facts.lineCount, facts.screenLines)) {
        return false;
    }
    if (settings.stopWhenHScrollRight && facts.firstVisibleColumn != 0) return false;
    if (settings.stopWhenCaretNotAtEnd && facts.caret != facts.textEnd) return false;
    return true;
}

}  // namespace core
