#include "core/LineFilterStage.h"

#include "core/LineBreakScan.h"
#include "filters/LoneSurrogates.h"

namespace core {

namespace {
// A block this large after a big read is given back rather than kept for the
// usual small ones.
constexpr std::size_t kKeptBlockUnits = 1 << 20;

constexpr bool IsHighSurrogate(char16_t ch) {
    return ch >= 0xD800 && ch <= 0xDBFF;
}

// Where to cut a line that is too long to stay unfinished: at the cap, or one
// unit before it so that a surrogate pair stays whole.
std::size_t CutPoint(std::u16string_view line) {
    const char16_t last = line[CLineFilterStage::kMaxUnfinishedUnits - 1];
    return CLineFilterStage::kMaxUnfinishedUnits - (IsHighSurrogate(last) ? 1 : 0);
}

// What the stage keeps of one text. Accepted lines that follow each other in
// the text stay a run of it; they are copied into the block only when
// something else is kept (after a rejected line, a joined or cut line), so a
// text whose lines are all kept is never copied.
class Kept {
public:
    Kept(std::u16string_view text, std::u16string& block, std::size_t bound)
        : text_(text), block_(block), bound_(bound) {}

    // The part [from, to) of the text.
    void OfText(std::size_t from, std::size_t to) {
        if (from != runEnd_) {
            Flush();
            runStart_ = from;
        }
        runEnd_ = to;
    }

    // Text not found as it is in the text given; the next run starts at
    // resume.
    void Copy(std::u16string_view piece, bool lineBreak, std::size_t resume) {
        Flush();
        Reserve();
        block_.append(piece);
        if (lineBreak) block_.push_back(u'\n');
        runStart_ = runEnd_ = resume;
    }

    std::u16string_view Result() {
        if (block_.empty()) return text_.substr(runStart_, runEnd_ - runStart_);
        Flush();
        return block_;
    }

private:
    // Room for all that can be kept of this text, so the block never grows
    // past it by doubling. A fresh string, since growing one doubles its
    // room when the new size is less than twice the old.
    void Reserve() {
        if (block_.capacity() >= bound_) return;
        std::u16string room;
        room.reserve(bound_);
        room.append(block_);
        block_.swap(room);
    }

    void Flush() {
        if (runEnd_ == runStart_) return;
        Reserve();
        block_.append(text_.substr(runStart_, runEnd_ - runStart_));
        runStart_ = runEnd_;
    }

    std::u16string_view text_;
    std::u16string& block_;
    std::size_t bound_;
    std::size_t runStart_ = 0;
    std::size_t runEnd_ = 0;
};
}  // namespace

std::size_t CLineFilterStage::PieceLength(std::u16string_view text) {
    if (text.size() <= kMaxPieceUnits) return text.size();
    const std::size_t lf = text.substr(0, kMaxPieceUnits).rfind(u'\n');
    if (lf != std::u16string_view::npos) return lf + 1;
    return kMaxPieceUnits - (IsHighSurrogate(text[kMaxPieceUnits - 1]) ? 1 : 0);
}

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
    Kept kept(text, block_, partial_.size() + text.size() + text.size() / kMaxUnfinishedUnits + 2);

    std::size_t pos = 0;
    CLineBreakCursor lfs(text, true);
    while (true) {
        const std::size_t lf = lfs.Next(pos);
        const std::size_t end = lf == std::u16string_view::npos ? text.size() : lf;
        std::u16string_view line = text.substr(pos, end - pos);
        bool joined = false;
        if (!partial_.empty()) {
            joined_.assign(partial_).append(line);
            partial_.clear();
            line = joined_;
            joined = true;
        }
        if (lf == std::u16string_view::npos) {
            bool cut = false;
            while (line.size() > kMaxUnfinishedUnits) {
                const std::u16string_view head = line.substr(0, CutPoint(line));
                if (filters.AcceptLine(head, noSurrogates)) kept.Copy(head, true, text.size());
                line.remove_prefix(head.size());
                cut = true;
            }
            const bool accepted = !line.empty() && filters.AcceptLine(line, noSurrogates);
            if (accepted && (joined || cut)) kept.Copy(line, false, text.size());
            if (accepted && !joined && !cut) kept.OfText(pos, text.size());
            partial_.assign(line);
            partialShown_ = accepted;
            break;
        }
        if (filters.AcceptLine(line, noSurrogates)) {
            if (joined) {
                kept.Copy(line, true, lf + 1);
            } else {
                kept.OfText(pos, lf + 1);
            }
        }
        pos = lf + 1;
    }
    output.text = kept.Result();
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
