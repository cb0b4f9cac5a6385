#pragma once
// The application-wide include and exclude lists that decide which lines reach
// a document at all, with the flags derived from them.
//
// The decision for a line does not depend on which filter of a list matches
// first: a line is rejected when any enabled exclude filter matches it, else
// accepted when any enabled include filter matches it, else accepted exactly
// when no include filter is enabled. So each list is searched as one combined
// expression, which scans a line once instead of once per filter.

#include <string>
#include <string_view>
#include <vector>

#include "filters/CombinedPhraseSearch.h"
#include "filters/InExFilter.h"

namespace filters {

class CInExFilters {
public:
    CInExFilters() = default;
    // rootPath is the program's key below the current user's root.
    explicit CInExFilters(std::u16string rootPath);

    // Replaces both lists, folds and compiles the enabled filters (a disabled
    // filter gets an empty folded text and no compiled expression), recomputes
    // the derived flags and the combined searches.
    void Replace(std::vector<InExFilter> include, std::vector<InExFilter> exclude);

    const std::vector<InExFilter>& Include() const { return include_; }
    const std::vector<InExFilter>& Exclude() const { return exclude_; }

    // At least one enabled filter in either list.
    bool AnyEnabled() const { return anyEnabled_; }
    // At least one enabled filter in the include list.
    bool AnyIncludeEnabled() const { return anyIncludeEnabled_; }
    // At least one enabled plain filter without match case, in either list.
    bool NeedsFolding() const { return needsFolding_; }

    // Filtering is active: AnyEnabled() and the master switch
    // EnableInExFilters. When it is not, every line passes unchanged.
    bool IsActive(bool enableInExFilters) const { return enableInExFilters && anyEnabled_; }

    // The decision for one complete or partial line (no CR/LF inside): true
    // keeps the line. noSurrogates: the caller knows line holds no surrogate.
    bool AcceptLine(std::u16string_view line, bool noSurrogates = false) const;

    // Loads the older keys IncludeFilters/ExcludeFilters, then
    // IncludeFilters2/ExcludeFilters2, each appended to what the lists
    // already hold. When anything was migrated both lists are saved in the
    // current layout; the older keys are deleted once that succeeded.
    void Load();
    // Saves both lists in one transaction. False when the store refused.
    bool Save() const;

    static constexpr std::u16string_view kDefaultRootPath = u"Software\\Ostra Tarvik";

private:
    std::u16string rootPath_{kDefaultRootPath};
    std::vector<InExFilter> include_;
    std::vector<InExFilter> exclude_;
    bool anyEnabled_ = false;
    bool anyIncludeEnabled_ = false;
    bool needsFolding_ = false;
    CombinedPhraseSearch includeSearch_;
    CombinedPhraseSearch excludeSearch_;
};

}  // namespace filters
