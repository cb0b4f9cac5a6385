#include "view/HighlightNavigator.h"

#include <algorithm>

namespace view {

namespace {

HighlightHit HitOf(int line, const filters::HighlightRun& run) {
    return {line, run.start, run.End()};
}

std::optional<HighlightHit> FirstRunOf(int line, const NavigationRuns& runsOf) {
    const auto runs = runsOf(line);
    if (runs.empty()) return std::nullopt;
    return HitOf(line, runs.front());
}

std::optional<HighlightHit> LastRunOf(int line, const NavigationRuns& runsOf) {
    const auto runs = runsOf(line);
    if (runs.empty()) return std::nullopt;
    return HitOf(line, runs.back());
}

}  // namespace

std::optional<HighlightHit> FindNextHighlight(int lineCount, core::TextPos caret,
                                              const NavigationRuns& runsOf) {
    if (lineCount <= 0) return std::nullopt;
    const int y = std::clamp(caret.line, 0, lineCount - 1);
    for (const auto& run : runsOf(y)) {
        if (run.start >= caret.ch) return HitOf(y, run);
    }
    for (int line = y + 1; line < lineCount; ++line) {
        if (auto hit = FirstRunOf(line, runsOf)) return hit;
    }
    for (int line = 0; line < y; ++line) {
        if (auto hit = FirstRunOf(line, runsOf)) return hit;
    }
    return std::nullopt;
}

std::optional<HighlightHit> FindPreviousHighlight(int lineCount, core::TextPos caret,
                                                  const NavigationRuns& runsOf) {
    if (lineCount <= 0) return std::nullopt;
    const int y = std::clamp(caret.line, 0, lineCount - 1);
    const auto runs = runsOf(y);
    for (auto it = runs.rbegin(); it != runs.rend(); ++it) {
        if (it->End() < caret.ch) return HitOf(y, *it);
    }
    for (int line = y - 1; line >= 0; --line) {
        if (auto hit = LastRunOf(line, runsOf)) return hit;
    }
    for (int line = lineCount - 1; line > y; --line) {
        if (auto hit = LastRunOf(line, runsOf)) return hit;
    }
    return std::nullopt;
}

}  // namespace view
