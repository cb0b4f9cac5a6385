#include "core/LineFilterStage.h"

#include "core/LineBreakScan.h"
#include "filters/LoneSurrogates.h"

namespace core {

namespace {
// A block this large after a big read is given back rather than kept for the
// usual small ones.
constexpr std::size_t kKeptBlockUnits = 1 << 20;

// Where to cut a line that is too long to stay unfinished: at the cap, or one
// unit before it so that a surrogate pair stays whole.
std::size_t CutPoint(std::u16string_view line) {
    const char16_t last = line[CLineFilterStage::kMaxUnfinishedUnits - 1];
    const bool highSurrogate = last >= 0xD800 && last <= 0xDBFF;
    return CLineFilterStage::kMaxUnfinishedUnits - (highSurrogate ? 1 : 0);
}
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
        if (lf == std::u16string_view::npos) {
            while (line.size() > kMaxUnfinishedUnits) {
                const std::u16string_view head = line.substr(0, CutPoint(line));
                if (filters.AcceptLine(head, noSurrogates)) block_.append(head).push_back(u'\n');
                line.remove_prefix(head.size());
            }
            const bool accepted = !line.empty() && filters.AcceptLine(line, noSurrogates);
            if (accepted) block_.append(line);
            partial_.assign(line);
            partialShown_ = accepted;
            break;
        }
        if (filters.AcceptLine(line, noSurrogates)) block_.append(line).push_back(u'\n');
        pos = lf + 1;
    }
    output.text = block_;
    return output;
}

std::u16string_view CLineFilterStage::Release(std::u16string_view text) {
    const bool hidden = !partial_.empty() && !partialShown_;
    if (hidden) block_.assign(partial_).append(text);
    ClearPartial();
    return hidden ? std::u16string_view(block_) : text;
}

void CLineFilterStage::Adopt(std::u16string_view unfinishedLine) {
    partial_.assign(unfinishedLine);
    partialShown_ = !partial_.empty();
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
