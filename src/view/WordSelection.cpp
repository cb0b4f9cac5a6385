#include "view/WordSelection.h"

#include <QChar>
#include <algorithm>
#include <optional>

namespace view {

namespace {

bool IsWordChar(char16_t c) {
    return c == u'_' || QChar(c).isLetterOrNumber();
}

struct LeftBound {
    int afterBound = 0;
    char16_t expectedEnd = 0;
};

std::optional<LeftBound> FindLeftBound(std::u16string_view line, int click,
                                       const BoundPairs& bounds) {
    if (!bounds.specialSelect) return std::nullopt;
    for (int i = click - 1; i >= 0; --i) {
        const auto index = bounds.left.find(line[i]);
        // A left bound without its partner cannot close, so it is not a bound.
        if (index == std::u16string_view::npos || index >= bounds.right.size()) continue;
        return LeftBound{i + 1, bounds.right[index]};
    }
    return std::nullopt;
}

int WordStart(std::u16string_view line, int click) {
    int start = click;
    while (start > 0 && IsWordChar(line[start - 1])) --start;
    return start;
}

int WordEnd(std::u16string_view line, int click) {
    int end = click;
    while (end < static_cast<int>(line.size()) && IsWordChar(line[end])) ++end;
    return end;
}

}  // namespace

CharRange WordOrBoundRange(std::u16string_view line, int click, const BoundPairs& bounds) {
    const int length = static_cast<int>(line.size());
    click = std::clamp(click, 0, length);
    if (const auto bound = FindLeftBound(line, click, bounds)) {
        const auto close = line.find(bound->expectedEnd, static_cast<std::size_t>(click));
        const int end = close == std::u16string_view::npos ? length : static_cast<int>(close);
        return {bound->afterBound, end};
    }
    return {WordStart(line, click), WordEnd(line, click)};
}

}  // namespace view
