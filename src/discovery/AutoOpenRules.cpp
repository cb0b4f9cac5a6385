#include "discovery/AutoOpenRules.h"

#include <set>
#include <utility>

#include "filters/AsciiFold.h"

namespace discovery {

std::u16string WithFolderSeparator(std::u16string_view folder) {
    std::u16string result(folder);
    if (result.empty() || result.back() != u'/') result += u'/';
    return result;
}

std::optional<AutoOpenProblem> FilePatternProblem(std::u16string_view folder,
                                                  std::u16string_view pattern) {
    if (folder.empty()) {
        return AutoOpenProblem{AutoOpenField::Folder, u"Please choose a folder to be monitored."};
    }
    if (pattern.empty()) {
        return AutoOpenProblem{AutoOpenField::Pattern, u"Please enter file name pattern."};
    }
    return std::nullopt;
}

std::optional<AutoOpenProblem> AutoOpenDialogProblem(
    long long interval, bool limitOpenFiles, long long maxOpenFiles,
    const std::vector<settings::AutoOpenPattern>& rows) {
    if (interval <= 0) {
        return AutoOpenProblem{AutoOpenField::Interval, u"The interval must be greater than 0."};
    }
    if (limitOpenFiles && maxOpenFiles <= 0) {
        return AutoOpenProblem{AutoOpenField::MaxOpenFiles,
                               u"The maximum open files must be greater than 0."};
    }
    std::set<std::pair<std::u16string, std::u16string>> seen;
    for (const settings::AutoOpenPattern& row : rows) {
        if (!seen.emplace(filters::FoldedAsciiLower(row.folder),
                          filters::FoldedAsciiLower(row.fileNamePattern))
                 .second) {
            return AutoOpenProblem{AutoOpenField::List,
                                   u"There's a duplicated item in list at least. Please remove the "
                                   u"item and then click OK."};
        }
    }
    return std::nullopt;
}

}  // namespace discovery
