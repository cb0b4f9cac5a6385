#pragma once
// Taking over the list confirmed in the highlight filter dialog. The dialog
// edits copies of the filters; each copy carries how it was changed and the
// phrase it had when the dialog opened, which is what notification records
// refer to.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "filters/HighlightFilter.h"
#include "filters/HighlightFilters.h"
#include "filters/HighlightOptions.h"

namespace filters {

enum class HighlightChangeMark { Unchanged = 109, Modified = 119, Removed = 129, New = 139 };

struct HighlightFilterEdit {
    HighlightFilter filter;
    HighlightChangeMark changeMark = HighlightChangeMark::New;
    // The filter's Text when the dialog opened; empty for new filters.
    std::u16string phraseAtOpen;
    // The filter's place in the application's list when the dialog opened.
    // Its first-occurrence set is taken from there, since documents may have
    // been notified (or confirmed) while the dialog was open.
    std::optional<std::size_t> sourceIndex;
};

// The most previous lines the dialog offers to attach.
inline constexpr std::int32_t kMaxAttachPreviousLines = 32767;

// Brings values into the ranges the dialog offers, so that what it shows is
// what it saves.
void KeepInDialogRanges(HighlightFilter& filter);

// The rows the dialog starts from: a copy of every filter, unchanged but for
// KeepInDialogRanges.
std::vector<HighlightFilterEdit> MakeHighlightFilterEdits(const CHighlightFilters& filters);

// Clears the requiresConfirmation flag of every notification record whose
// filter text equals the phrase exactly.
using ReleaseNotificationRecords = std::function<void(std::u16string_view phrase)>;

// Replaces filters with the confirmed rows (in display order; removed rows
// only release what they held): unchanged filters keep their
// first-occurrence sets; a modified filter that had notified documents
// releases the records of its phrase and starts with a fresh set; a removed
// filter that had notified documents releases its records. Every filter is
// then prepared and the derived flags recomputed. Saving the list and the
// options, repainting or reloading documents remain the caller's steps.
void TakeOverHighlightFilters(CHighlightFilters& filters, std::vector<HighlightFilterEdit> rows,
                              const ReleaseNotificationRecords& release);

// The options after the dialog: all edited values, except that the line
// background colour only changes while HighlightLine is on.
HighlightOptions TakeOverHighlightOptions(const HighlightOptions& current,
                                          const HighlightOptions& edited);

}  // namespace filters
