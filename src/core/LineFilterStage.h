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

    // The most text (1 MiB, one read) the stage is handed at a time, so the
    // copy it makes of what it keeps is never larger. A longer text is
    // handed over in pieces of PieceLength.
    static constexpr std::size_t kMaxPieceUnits = std::size_t{1} << 19;

    // The length of the first piece of text to hand over: all of it when it
    // is short enough, else up to and including the last line break within
    // kMaxPieceUnits, or kMaxPieceUnits (a surrogate pair kept whole) when a
    // line is longer.
    static std::size_t PieceLength(std::u16string_view text);

    struct Output {
        // The accepted text, valid until the next call and while the text
        // given stays: a part of that text when what is kept lies in one
        // piece of it (every line accepted, as with a filter that matches
        // nothing), else the stage's copy.
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
    // The units the stage's working copies hold room for.
    std::size_t HeldUnits() const { return block_.capacity() + joined_.capacity(); }
    bool PartialShown() const { return partialShown_; }

private:
    void ReleaseLargeBlock();

    std::u16string partial_;
    bool partialShown_ = false;
    std::u16string block_;
    std::u16string joined_;
};

}  // namespace core
