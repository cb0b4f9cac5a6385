#include "filters/InExFilterList.h"

#include "filters/InExFilterStore.h"
#include "platform/Registry.h"

namespace filters {

namespace {

// An enabled filter is folded and, as an expression, compiled; a disabled one
// keeps only its text and switches.
void Prepare(InExFilter& filter) {
    FilterPhrase& phrase = filter.phrase;
    if (filter.Enable) {
        phrase.Assign(phrase.text, phrase.matchCase, phrase.regularExpression);
    } else {
        phrase.foldedText.clear();
        phrase.expression.reset();
    }
}

bool AnyEnabledIn(const std::vector<InExFilter>& list) {
    for (const InExFilter& filter : list) {
        if (filter.Enable) return true;
    }
    return false;
}

bool AnyFoldedIn(const std::vector<InExFilter>& list) {
    for (const InExFilter& filter : list) {
        if (filter.Enable && !filter.phrase.matchCase && !filter.phrase.regularExpression) {
            return true;
        }
    }
    return false;
}

CombinedPhraseSearch SearchOfEnabled(const std::vector<InExFilter>& list) {
    std::vector<const FilterPhrase*> phrases;
    for (const InExFilter& filter : list) {
        if (filter.Enable) phrases.push_back(&filter.phrase);
    }
    return CombinedPhraseSearch(phrases);
}

}  // namespace

CInExFilters::CInExFilters(std::u16string rootPath) : rootPath_(std::move(rootPath)) {}

void CInExFilters::Replace(std::vector<InExFilter> include, std::vector<InExFilter> exclude) {
    include_ = std::move(include);
    exclude_ = std::move(exclude);
    for (InExFilter& filter : include_) Prepare(filter);
    for (InExFilter& filter : exclude_) Prepare(filter);
    anyIncludeEnabled_ = AnyEnabledIn(include_);
    anyEnabled_ = anyIncludeEnabled_ || AnyEnabledIn(exclude_);
    needsFolding_ = AnyFoldedIn(include_) || AnyFoldedIn(exclude_);
    includeSearch_ = SearchOfEnabled(include_);
    excludeSearch_ = SearchOfEnabled(exclude_);
}

bool CInExFilters::AcceptLine(std::u16string_view line, bool noSurrogates) const {
    if (excludeSearch_.AnyMatch(line, noSurrogates)) return false;
    if (!anyIncludeEnabled_) return true;
    return includeSearch_.AnyMatch(line, noSurrogates);
}

void CInExFilters::Load() {
    std::vector<InExFilter> include = include_;
    std::vector<InExFilter> exclude = exclude_;
    const std::size_t migrated =
        inex_store::ReadOlderList(rootPath_, inex_store::kOlderIncludeKey, include) +
        inex_store::ReadOlderList(rootPath_, inex_store::kOlderExcludeKey, exclude);
    inex_store::LoadList(rootPath_, inex_store::kIncludeKey, include);
    inex_store::LoadList(rootPath_, inex_store::kExcludeKey, exclude);
    Replace(std::move(include), std::move(exclude));
    // The older keys go only once their filters are safely in the current
    // layout; if saving fails they are migrated again at the next start.
    if (migrated > 0 && !Save()) return;
    inex_store::DeleteOlderList(rootPath_, inex_store::kOlderIncludeKey);
    inex_store::DeleteOlderList(rootPath_, inex_store::kOlderExcludeKey);
}

bool CInExFilters::Save() const {
    platform::RegTransaction transaction;
    if (!inex_store::SaveList(rootPath_, inex_store::kIncludeKey, include_) ||
        !inex_store::SaveList(rootPath_, inex_store::kExcludeKey, exclude_)) {
        transaction.Cancel();
        return false;
    }
    return transaction.Commit();
}

}  // namespace filters
