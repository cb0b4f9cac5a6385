#include "core/LineFilterStage.h"

#include "core/LineBreakScan.h"
#include "filters/LoneSurrogates.h"

namespace core {

namespace {
// A block this large after a big read is given back rather than kept for the
// usual small ones.
constexpr std::size_t kKeptBlockUnits = 1 << 20;
}  // namespace

CLineFilterStage::Output CLineFilterStage::Filter(std::u16string_view text,
                                                  const filters::CInExFilters& filters) {
    ReleaseLargeBlock();
    block_.clear();
    Output output;
    output.removesShownPartial = !partial_.empty() && partialShown_;
    // One scan of the block spares every line its own check for lone
    // surrogates when there is no surrogate at all, as almost always.
    const bool noSurrogates =
        !filters::HasAnySurrogate(text) && !filters::HasAnySurrogate(partial_);

    std::size_t pos = 0;
    while (true) {
        const std::size_t lf = FindLf(text, pos);
        const std::size_t end = lf == std::u16string_view::npos ? text.size() : lf;
        std::u16string_view line = text.substr(pos, end - pos);
        if (!partial_.empty()) {
            joined_.assign(partial_).append(line);
            partial_.clear();
            line = joined_;
        }
        if (lf == std::u16string_view::npos && line.empty()) {
            partialShown_ = false;
            break;
        }
        const bool accepted = filters.AcceptLine(line, noSurrogates);
        if (accepted) block_.append(line);
        if (lf == std::u16string_view::npos) {
            partial_.assign(line);
            partialShown_ = accepted;
            break;
        }
        if (accepted) block_.push_back(u'\n');
        pos = lf + 1;
    }
    output.text = block_;
    return output;
}

void CLineFilterStage::ClearPartial() {
    partial_.clear();
    partialShown_ = false;
}

void CLineFilterStage::ReleaseLargeBlock() {
    if (block_.capacity() > kKeptBlockUnits) std::u16string().swap(block_);
    if (joined_.capacity() > kKeptBlockUnits) std::u16string().swap(joined_);
}

}  // namespace core
