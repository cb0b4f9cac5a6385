#include "filters/HighlightColorizer.h"

#include "filters/PhraseSearch.h"

namespace filters {

namespace {

bool SkippedInNavigation(const HighlightFilter& filter, const HighlightOptions& options) {
    return (options.IgnoreReplaceTextForGotoHFilter && filter.ReplaceWith) ||
           (options.IgnoreHighlightEntireLineForGotoHFilter && filter.HighlightEntireLine);
}

// The shown text of a "Show as" filter, found as a plain phrase with case.
std::vector<PhraseOccurrence> ScanShownText(std::u16string_view line, std::u16string_view shown) {
    std::vector<PhraseOccurrence> occurrences;
    std::size_t at = 0;
    while ((at = FindPhrase(line, shown, at, false)) != std::u16string_view::npos) {
        occurrences.push_back({at, shown.size()});
        at += shown.size();
    }
    return occurrences;
}

std::vector<PhraseOccurrence> FindOccurrences(const HighlightFilter& filter,
                                              std::u16string_view line) {
    if (filter.ReplaceWith) return ScanShownText(line, filter.ReplaceText);
    return ScanOccurrences(filter.phrase, line);
}

bool Occurs(const HighlightFilter& filter, std::u16string_view line) {
    if (filter.ReplaceWith) {
        return FindPhrase(line, filter.ReplaceText, 0, false) != std::u16string_view::npos;
    }
    return MatchPhrase(filter.phrase, line);
}

// Applies one filter. When drawing, an entire-line filter only sets the line
// colours and adds no run, so its first occurrence is all that is needed.
void ColorizeWithFilter(const HighlightFilter& filter, std::u16string_view line, ColorizeMode mode,
                        LineColors& colors, HighlightRunList& runs) {
    if (filter.HighlightEntireLine && mode == ColorizeMode::Drawing) {
        if (Occurs(filter, line)) colors = {filter.TextColor, filter.BkgColor};
        return;
    }
    for (const PhraseOccurrence& occurrence : FindOccurrences(filter, line)) {
        if (filter.HighlightEntireLine) colors = {filter.TextColor, filter.BkgColor};
        AddHighlightRun(runs,
                        {static_cast<int>(occurrence.start), static_cast<int>(occurrence.length),
                         filter.TextColor, filter.BkgColor});
    }
}

}  // namespace

void ColorizeLine(const CHighlightFilters& filters, std::u16string_view line,
                  const HighlightOptions& options, ColorizeMode mode, LineColors& colors,
                  HighlightRunList& runs) {
    if (line.empty()) return;
    for (const HighlightFilter& filter : filters.Items()) {
        if (!filter.Enable) continue;
        if (mode == ColorizeMode::Navigation && SkippedInNavigation(filter, options)) continue;
        ColorizeWithFilter(filter, line, mode, colors, runs);
    }
}

std::uint32_t FinalLineBackground(const HighlightOptions& options, const HighlightRunList& runs,
                                  std::uint32_t bkgColor, std::uint32_t normalBkgColor) {
    if (!runs.empty() && bkgColor == normalBkgColor && options.HighlightLine) {
        return options.HLLineBkgColor;
    }
    return bkgColor;
}

std::uint32_t RowBlankColor(const HighlightOptions& options, std::uint32_t finalBkgColor,
                            std::uint32_t normalBkgColor) {
    return options.FillLineBlankInBkgColor ? finalBkgColor : normalBkgColor;
}

}  // namespace filters
