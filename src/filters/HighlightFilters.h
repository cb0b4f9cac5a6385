#pragma once
// The application-wide ordered list of highlight filters. The order decides
// priority: for phrase colours the earlier filter wins. Five flags derived
// from the enabled filters let a document skip actions and "Show as"
// entirely when no filter needs them.

#include <cstddef>
#include <string_view>
#include <vector>

#include "filters/HighlightDocumentRef.h"
#include "filters/HighlightFilter.h"
#include "filters/PhrasePrefilter.h"

namespace filters {

class CHighlightFilters {
public:
    const std::vector<HighlightFilter>& Items() const { return filters_; }
    std::size_t Size() const { return filters_.size(); }
    bool Empty() const { return filters_.empty(); }

    // Replaces the list; each filter is prepared (folded copies, compiled
    // expression, notifiedDocuments by the rule) and the derived flags are
    // recomputed.
    void Replace(std::vector<HighlightFilter> filters);
    // Appends one filter, prepared, and updates the derived flags.
    void Append(HighlightFilter filter);
    void Clear();

    // Derived flags: at least one enabled filter has the option on.
    bool AnySendEmail() const { return anySendEmail_; }
    bool AnyWriteFile() const { return anyWriteFile_; }
    bool AnyPrint() const { return anyPrint_; }
    bool AnyExecute() const { return anyExecute_; }
    bool AnyShowAs() const { return anyShowAs_; }
    bool AnyDesktopNotice() const { return anyDesktopNotice_; }
    bool AnyWebHook() const { return anyWebHook_; }
    // Whether a document has actions to run for new lines at all.
    bool AnyAction() const {
        return anySendEmail_ || anyWriteFile_ || anyPrint_ || anyExecute_ || anyDesktopNotice_ ||
               anyWebHook_;
    }

    // Marks in maybe (one entry per filter, by index) each filter whose
    // phrase may occur in line, found with one scan for all enabled filters
    // that have an action: a filter left unmarked does not match. Filters
    // without an action are always marked.
    void MarkActionCandidates(std::u16string_view line, std::vector<char>& maybe);

    // The first-occurrence test of the e-mail and web hook actions of
    // filter `index` (one test for both):
    // false when the filter keeps a set and document is already in it (send
    // nothing); otherwise the document is added to the set (if the filter
    // keeps one) before anything is sent, so a failed send still counts.
    bool ClaimFirstOccurrence(std::size_t index, DocumentRef document);
    // A closing document leaves every filter's set.
    void ForgetDocument(DocumentRef document);
    // A confirmed notification lets the first filter whose Text equals
    // filterText exactly notify that document again.
    void ReleaseDocument(std::u16string_view filterText, DocumentRef document);

private:
    void AddToDerivedFlags(const HighlightFilter& filter);
    void BuildActingPrefilter();

    std::vector<HighlightFilter> filters_;
    // The prefilter over the enabled filters with an action, built when
    // first needed after the list changed; actingIndex_ maps its phrases to
    // filter indexes, actingBaseMaybe_ marks every filter it does not cover.
    PhrasePrefilter actingPrefilter_;
    std::vector<std::size_t> actingIndex_;
    std::vector<char> actingBaseMaybe_;
    bool actingPrefilterBuilt_ = false;
    bool anySendEmail_ = false;
    bool anyWriteFile_ = false;
    bool anyPrint_ = false;
    bool anyExecute_ = false;
    bool anyShowAs_ = false;
    bool anyDesktopNotice_ = false;
    bool anyWebHook_ = false;
};

}  // namespace filters
