#pragma once
// The include/exclude stage of a document: splits new text into lines, asks
// the filters about each and keeps the accepted ones. The last line of a
// block without its line break is kept as the partial line and put in front
// of the next block, so a line that arrives in pieces is judged on all of
// its text received so far each time a piece arrives.

#include <cstddef>
#include <string>
#include <string_view>

#include "filters/InExFilterList.h"

namespace core {

class CLineFilterStage {
public:
    // An unfinished line longer than this is cut here into a finished line,
    // so that a writer that never ends its line (progress bars, binary data)
    // keeps the partial line, and the work of every poll, bounded.
    static constexpr std::size_t kMaxUnfinishedUnits = std::size_t{1} << 20;

    struct Output {
        // The accepted text, valid until the next call.
        std::u16string_view text;
        // The partial line was shown and is part of text again (or rejected
        // now): the caller removes it from the display before appending.
        bool removesShownPartial = false;
    };

    // text holds only LF as line break.
    Output Filter(std::u16string_view text, const filters::CInExFilters& filters);

    // Filtering ends: a hidden partial line is put in front of text (the
    // result is valid until the next call), so that the line shows whole; a
    // shown one is on display already. Either way the stage forgets it.
    std::u16string_view Release(std::u16string_view text);
    // Filtering begins: the unfinished line on display is the partial line,
    // shown, and is judged whole once its rest arrives.
    void Adopt(std::u16string_view unfinishedLine);

    void ClearPartial();
    const std::u16string& PartialLine() const { return partial_; }
    bool PartialShown() const { return partialShown_; }

private:
    void ReleaseLargeBlock();

    std::u16string partial_;
    bool partialShown_ = false;
    std::u16string block_;
    std::u16string joined_;
};

}  // namespace core
