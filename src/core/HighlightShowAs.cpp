#include "core/HighlightShowAs.h"

#include <algorithm>
#include <string>
#include <vector>

#include "core/ITextBufferView.h"

namespace core {

namespace {

using filters::CHighlightFilters;
using filters::HighlightFilter;
using filters::PhraseOccurrence;

std::vector<const HighlightFilter*> ShowAsFilters(const CHighlightFilters& filters) {
    std::vector<const HighlightFilter*> collected;
    for (const HighlightFilter& filter : filters.Items()) {
        if (filter.ShowsAs()) collected.push_back(&filter);
    }
    return collected;
}

// Writes to replaced the line with every occurrence of the filter's phrase
// replaced; false, leaving replaced as it was, when there is none.
bool ReplaceOccurrences(const HighlightFilter& filter, std::u16string_view line,
                        std::u16string& replaced) {
    const std::vector<PhraseOccurrence> occurrences = filters::ScanOccurrences(filter.phrase, line);
    if (occurrences.empty()) return false;
    std::u16string result;
    result.reserve(line.size() + occurrences.size() * filter.ReplaceText.size());
    std::size_t copiedUpTo = 0;
    for (const PhraseOccurrence& occurrence : occurrences) {
        result.append(line.substr(copiedUpTo, occurrence.start - copiedUpTo));
        result += filter.ReplaceText;
        copiedUpTo = occurrence.start + occurrence.length;
    }
    result.append(line.substr(copiedUpTo));
    replaced = std::move(result);
    return true;
}

// Puts text in place of the whole content of line; the line keeps its flags.
bool RewriteLine(CCrystalTextBuffer& buffer, int line, std::u16string_view text) {
    const int oldLength = buffer.LineLength(line);
    if (oldLength > 0 &&
        !buffer.DeleteRange(nullptr, {0, line}, {oldLength, line}, 0, false, false)) {
        return false;
    }
    TextPos end;
    return buffer.InsertTextAt(nullptr, {0, line}, text, end, 0, false, false);
}

// Applies every filter to one line; true when the buffer line changed. The
// line is searched where it lies and copied only once something is replaced.
bool ApplyToLine(const std::vector<const HighlightFilter*>& filters, CCrystalTextBuffer& buffer,
                 int line) {
    const std::u16string_view original = buffer.LineText(line);
    if (original.empty()) return false;
    std::u16string replaced;
    bool changed = false;
    for (const HighlightFilter* filter : filters) {
        const std::u16string_view current = changed ? std::u16string_view(replaced) : original;
        if (current.empty()) break;
        if (ReplaceOccurrences(*filter, current, replaced)) changed = true;
    }
    if (!changed ||
        replaced.size() > static_cast<std::size_t>(CCrystalTextBuffer::kMaxLineLength)) {
        return false;
    }
    return RewriteLine(buffer, line, replaced);
}

}  // namespace

void ApplyShowAs(const filters::CHighlightFilters& filters, CCrystalTextBuffer& buffer,
                 int firstLine, int lastLine, const std::function<void(int line)>& redrawLine) {
    const std::vector<const HighlightFilter*> showAs = ShowAsFilters(filters);
    if (showAs.empty() || !buffer.IsInitialized()) return;
    firstLine = std::max(firstLine, 0);
    lastLine = std::min(lastLine, buffer.LineCount() - 1);
    for (int line = firstLine; line <= lastLine; ++line) {
        if (!ApplyToLine(showAs, buffer, line)) continue;
        // The views learn the line's new width: a replacement longer than
        // its phrase may widen the text.
        buffer.NotifyViews(nullptr, nullptr, kUpdateLineEdited, line);
        if (redrawLine) redrawLine(line);
    }
}

}  // namespace core
