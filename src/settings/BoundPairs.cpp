#include "settings/BoundPairs.h"

#include <algorithm>

#include "settings/Options.h"

namespace settings {

namespace {

bool IsLineEnd(char16_t ch) {
    return ch == u'\r' || ch == u'\n';
}

}  // namespace

BoundPairs ParseBoundPairs(std::u16string_view text) {
    BoundPairs pairs;
    std::size_t lineStart = 0;
    while (lineStart < text.size() && pairs.left.size() < kMaxBoundChars) {
        const std::size_t lineFeed = text.find(u'\n', lineStart);
        const std::size_t lineEnd = lineFeed == std::u16string_view::npos ? text.size() : lineFeed;
        const std::u16string_view line = text.substr(lineStart, lineEnd - lineStart);
        if (line.size() >= 2 && !IsLineEnd(line[0]) && !IsLineEnd(line[1])) {
            pairs.left.push_back(line[0]);
            pairs.right.push_back(line[1]);
        }
        lineStart = lineEnd + 1;
    }
    return pairs;
}

std::u16string BoundPairsText(std::u16string_view left, std::u16string_view right) {
    std::u16string text;
    const std::size_t count = std::min(left.size(), right.size());
    for (std::size_t i = 0; i < count; ++i) {
        text.push_back(left[i]);
        text.push_back(right[i]);
        text.append(u"\r\n");
    }
    return text;
}

}  // namespace settings
