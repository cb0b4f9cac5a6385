#pragma once
// The checks of the auto-open dialogs, decided without any window: one watched
// pair in "File Pattern", and the whole dialog "Open New Files Automatically
// by Pattern" with its interval, bound and rows.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/AutoOpenPatternStore.h"

namespace discovery {

// The field a refusal puts the focus on.
enum class AutoOpenField { Folder, Pattern, Interval, MaxOpenFiles, List };

struct AutoOpenProblem {
    AutoOpenField field = AutoOpenField::List;
    std::u16string message;

    bool operator==(const AutoOpenProblem&) const = default;
};

// folder with the folder separator at its end.
std::u16string WithFolderSeparator(std::u16string_view folder);

// An empty folder, then an empty pattern.
std::optional<AutoOpenProblem> FilePatternProblem(std::u16string_view folder,
                                                  std::u16string_view pattern);

// The interval, then the bound when the limit is on, then two rows equal
// after lower-casing (A-Z) folder and pattern.
std::optional<AutoOpenProblem> AutoOpenDialogProblem(
    long long interval, bool limitOpenFiles, long long maxOpenFiles,
    const std::vector<settings::AutoOpenPattern>& rows);

}  // namespace discovery
