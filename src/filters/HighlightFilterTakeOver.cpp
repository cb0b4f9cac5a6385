#include "filters/HighlightFilterTakeOver.h"

#include <algorithm>
#include <utility>

namespace filters {

namespace {

// The set the filter holds now: the live one in the application's list when
// the row came from it, else the row's own copy.
std::optional<DocumentRefSet> CurrentSet(const CHighlightFilters& filters,
                                         const HighlightFilterEdit& row) {
    if (row.sourceIndex && *row.sourceIndex < filters.Size()) {
        return filters.Items()[*row.sourceIndex].notifiedDocuments;
    }
    return row.filter.notifiedDocuments;
}

bool HasNotified(const std::optional<DocumentRefSet>& set) {
    return set && !set->empty();
}

void Release(const ReleaseNotificationRecords& release, std::u16string_view phrase) {
    if (release) release(phrase);
}

}  // namespace

void KeepInDialogRanges(HighlightFilter& filter) {
    filter.AttachPreviousLinesWithEmail =
        std::clamp(filter.AttachPreviousLinesWithEmail, 0, kMaxAttachPreviousLines);
}

std::vector<HighlightFilterEdit> MakeHighlightFilterEdits(const CHighlightFilters& filters) {
    std::vector<HighlightFilterEdit> rows;
    rows.reserve(filters.Size());
    for (std::size_t i = 0; i < filters.Size(); ++i) {
        const HighlightFilter& filter = filters.Items()[i];
        rows.push_back({filter, HighlightChangeMark::Unchanged, filter.phrase.text, i});
        KeepInDialogRanges(rows.back().filter);
    }
    return rows;
}

void TakeOverHighlightFilters(CHighlightFilters& filters, std::vector<HighlightFilterEdit> rows,
                              const ReleaseNotificationRecords& release) {
    std::vector<HighlightFilter> confirmed;
    confirmed.reserve(rows.size());
    for (HighlightFilterEdit& row : rows) {
        std::optional<DocumentRefSet> set = CurrentSet(filters, row);
        switch (row.changeMark) {
            case HighlightChangeMark::Unchanged:
                row.filter.notifiedDocuments = std::move(set);
                break;
            case HighlightChangeMark::Modified:
                if (HasNotified(set)) Release(release, row.phraseAtOpen);
                row.filter.notifiedDocuments.reset();
                break;
            case HighlightChangeMark::New:
                row.filter.notifiedDocuments.reset();
                break;
            case HighlightChangeMark::Removed:
                if (HasNotified(set)) Release(release, row.phraseAtOpen);
                continue;
        }
        confirmed.push_back(std::move(row.filter));
    }
    // Replace prepares each filter, which makes the sets the rule asks for.
    filters.Replace(std::move(confirmed));
}

HighlightOptions TakeOverHighlightOptions(const HighlightOptions& current,
                                          const HighlightOptions& edited) {
    HighlightOptions options = edited;
    if (!edited.HighlightLine) options.HLLineBkgColor = current.HLLineBkgColor;
    return options;
}

}  // namespace filters
