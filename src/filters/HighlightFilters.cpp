#include "filters/HighlightFilters.h"

#include <utility>

namespace filters {

void CHighlightFilters::Replace(std::vector<HighlightFilter> filters) {
    Clear();
    filters_ = std::move(filters);
    for (HighlightFilter& filter : filters_) {
        filter.Prepare();
        AddToDerivedFlags(filter);
    }
}

void CHighlightFilters::Append(HighlightFilter filter) {
    actingPrefilterBuilt_ = false;
    filter.Prepare();
    AddToDerivedFlags(filter);
    filters_.push_back(std::move(filter));
}

void CHighlightFilters::Clear() {
    filters_.clear();
    actingPrefilterBuilt_ = false;
    anySendEmail_ = anyWriteFile_ = anyPrint_ = anyExecute_ = anyShowAs_ = false;
    anyDesktopNotice_ = anyWebHook_ = false;
}

void CHighlightFilters::AddToDerivedFlags(const HighlightFilter& filter) {
    if (!filter.Enable) return;
    anySendEmail_ = anySendEmail_ || filter.SendEmail;
    anyWriteFile_ = anyWriteFile_ || filter.WriteFile;
    anyPrint_ = anyPrint_ || filter.PrintLineToDefaultPrinter;
    anyExecute_ = anyExecute_ || filter.ExecuteProgram;
    anyShowAs_ = anyShowAs_ || filter.ReplaceWith;
    anyDesktopNotice_ = anyDesktopNotice_ || filter.ShowDesktopNotification;
    anyWebHook_ = anyWebHook_ || filter.PostWebHook;
}

void CHighlightFilters::BuildActingPrefilter() {
    std::vector<const FilterPhrase*> phrases;
    actingIndex_.clear();
    for (std::size_t i = 0; i < filters_.size(); ++i) {
        if (!filters_[i].Enable || !filters_[i].HasAction()) continue;
        phrases.push_back(&filters_[i].phrase);
        actingIndex_.push_back(i);
    }
    actingPrefilter_ = PhrasePrefilter(phrases);
    // Covered filters are candidates only when the scan reports them.
    actingBaseMaybe_.assign(filters_.size(), 1);
    for (std::size_t k = 0; k < actingIndex_.size(); ++k) {
        if (actingPrefilter_.Covers(k)) actingBaseMaybe_[actingIndex_[k]] = 0;
    }
    actingPrefilterBuilt_ = true;
}

void CHighlightFilters::MarkActionCandidates(std::u16string_view line, std::vector<char>& maybe) {
    if (!actingPrefilterBuilt_) BuildActingPrefilter();
    maybe = actingBaseMaybe_;
    auto mark = [&](std::size_t k) {
        maybe[actingIndex_[k]] = 1;
        return false;
    };
    if (actingPrefilter_.ScanLine(line, mark) == PhrasePrefilter::Scan::NotAscii) {
        maybe.assign(filters_.size(), 1);
    }
}

bool CHighlightFilters::ClaimFirstOccurrence(std::size_t index, DocumentRef document) {
    if (index >= filters_.size()) return false;
    auto& notified = filters_[index].notifiedDocuments;
    if (!notified) return true;
    return notified->insert(document).second;
}

void CHighlightFilters::ForgetDocument(DocumentRef document) {
    for (HighlightFilter& filter : filters_) {
        if (filter.notifiedDocuments) filter.notifiedDocuments->erase(document);
    }
}

void CHighlightFilters::ReleaseDocument(std::u16string_view filterText, DocumentRef document) {
    for (HighlightFilter& filter : filters_) {
        if (filter.phrase.text != filterText) continue;
        if (filter.notifiedDocuments) filter.notifiedDocuments->erase(document);
        return;
    }
}

}  // namespace filters
