// One poll of a followed file: growth, a cut in place, a replacement by
// another file, a deletion.

#include <algorithm>
#include <cstring>

#include "core/PollFinding.h"
#include "core/TarvikDoc.h"
#include "platform/File.h"

namespace core {

void CTarvikDoc::CheckFile(const CPollBudget& budget) {
    backlog_ = false;
    if (!readBuffer_) return;  // never opened, or closed
    PollFacts facts;
    facts.hasHandle = file_.IsOpen();
    if (facts.hasHandle) {
        if (!platform::CFile::SizeAndIdentityOfPath(pathUtf8_, facts.pathSize,
                                                    facts.pathIdentity)) {
            facts.pathSize = 0;
            facts.pathIdentity = {};
        }
        facts.handleIdentity = handleIdentity_;
        facts.readPosition = readPosition_;
    }

    switch (ClassifyPoll(facts)) {
        case PollFinding::NoHandle:
            ReopenForPolling();
            return;
        case PollFinding::ShrunkTolerated:
            return;
        case PollFinding::Truncated: {
            // A deleted file still holds what was written before it went;
            // a follower taking lines as they come shows it. A red line
            // drawn in it goes with the display, so the document stays
            // armed for the text that comes next.
            const bool armed = redLineArmed_;
            ReadRestOfOldFile();
            StartOver();
            redLineArmed_ = armed;
            return;
        }
        case PollFinding::Replaced:
            ReadRestOfOldFile();
            FollowReplacement();
            return;
        case PollFinding::Grew:
            if (ReadNewText(facts.pathSize, budget) > 0) {
                MarkNewData();
                return;
            }
            break;
        case PollFinding::Unchanged:
            break;
    }
    // Nothing new: a file that shrank or was replaced has news of its own
    // and never gets here.
    CheckStopUpdating();
}

void CTarvikDoc::CheckStopUpdating() {
    if (stopNoticeEnabled_ && !stopNoticeSent_ && context_.stopUpdating &&
        context_.stopUpdating->Check(path_, gotNewData_, lastUpdate_)) {
        stopNoticeSent_ = true;
    }
}

// Reads until the bytes the poll found are consumed, a read brings nothing,
// or a read ends in preallocated NULs. Bytes written during the poll wait
// for the next one, so a writer faster than the reader cannot hold the poll.
// A spent budget stops it after a read, at least one read being done (the
// pace keeps each read within about a budget, however slow its filters): every
// piece of state a read leaves for the next (the read position, a partial
// line, half a line break or of a character) is kept, so the next poll goes
// on exactly where this one stopped.
std::uint64_t CTarvikDoc::ReadNewText(std::uint64_t knownSize, const CPollBudget& budget) {
    std::uint64_t total = 0;
    while (readPosition_ < knownSize) {
        const std::uint64_t startMs = budget.NowMs();
        // A read asks for little more than the poll found: a few new lines
        // land at the same place in the buffer each time, so a quiet
        // document touches few of its pages, and a read during a burst still
        // takes what was written since the measure.
        const std::uint64_t found =
            std::max<std::uint64_t>(knownSize - readPosition_, CReadPace::kFirstUnits);
        const std::size_t units =
            static_cast<std::size_t>(std::min<std::uint64_t>(readPace_.Units(budget), found));
        const ReadPlacement placement = decoder_.PlacementFor(units);
        std::uint8_t* bytes = placement.In(readBuffer_.get());
        const long long got = file_.ReadAt(readPosition_, bytes, placement.maxBytes);
        if (got <= 0) break;
        const std::size_t n = static_cast<std::size_t>(got);
        if (!decoder_.DecideFrom(bytes, n, readPosition_)) break;  // no text to tell yet
        const CTextDecoder::TextBytes text = decoder_.WithoutTrailingNuls(bytes, n);
        const std::size_t decoded = TakeRead(bytes, text.bytes);
        if (decoded == 0) break;
        total += decoded;
        if (text.nulsDropped >= kNulsEndingPoll) break;
        const std::uint64_t nowMs = budget.NowMs();
        if (budget.IsTimed()) readPace_.Took(nowMs - startMs);
        if (readPosition_ < knownSize && budget.IsSpentAt(nowMs)) {
            backlog_ = true;
            break;
        }
    }
    // The title shows the position after the poll's last read; the frame
    // hears of it once per tick (TellTitleChange), not once per read.
    if (total > 0) UpdateTitle(false);
    return total;
}

// Decodes, normalises and appends one read, a slice at a time, so that each
// slice is still in the processor's cache for every step, and hands the
// complete lines of each slice on at once. What follows a slice's last line
// break waits for the next slice, so a line is cut only where the read ends,
// as when the read is taken whole. The units are written from the start of
// the read buffer, behind the bytes still to be decoded. Returns the units
// decoded; the read position has moved past their bytes.
std::size_t CTarvikDoc::TakeRead(const std::uint8_t* bytes, std::size_t n) {
    constexpr std::size_t kSliceUnits = 1 << 15;
    const std::size_t sliceBytes = decoder_.PlacementFor(kSliceUnits).maxBytes;
    char16_t* const units = readBuffer_.get();
    std::size_t decodedUnits = 0;
    std::size_t at = 0;     // bytes decoded
    std::size_t end = 0;    // normalised units in the buffer
    std::size_t start = 0;  // the first of them not handed on yet
    while (at < n) {
        const DecodedChunk decoded = decoder_.Decode(bytes + at, std::min(sliceBytes, n - at),
                                                     readPosition_, units + end, false);
        if (decoded.bytesUsed == 0) break;  // the start of a character whose rest comes later
        at += decoded.bytesUsed;
        readPosition_ += decoded.bytesUsed;
        decodedUnits += decoded.units;
        // Normalising ends its text with a terminator, which may fall on the
        // first unit of the next slice.
        const char16_t after = units[end + decoded.units];
        const std::u16string_view text = NormalizeRead(units + end, decoded.units);
        units[end + decoded.units] = after;
        if (text.data() != units + end) {
            std::memmove(units + end, text.data(), text.size() * sizeof(char16_t));
        }
        const std::size_t sliceStart = end;
        end += text.size();
        if (at >= n) break;
        const std::size_t lf =
            std::u16string_view(units + sliceStart, end - sliceStart).rfind(u'\n');
        if (lf == std::u16string_view::npos) continue;
        const std::size_t lineEnd = sliceStart + lf + 1;
        AppendNewText({units + start, lineEnd - start});
        start = lineEnd;
    }
    if (end > start) AppendNewText({units + start, end - start});
    return decodedUnits;
}

// What the writer added to the file held open before it was deleted or
// replaced, so that no line written before a rotation is lost.
void CTarvikDoc::ReadRestOfOldFile() {
    std::uint64_t handleSize = 0;
    if (file_.Size(handleSize) && handleSize > readPosition_) ReadNewText(handleSize);
}

void CTarvikDoc::ReopenForPolling() {
    if (!OpenHandle()) return;
    readPosition_ = 0;
    filterStage_.ClearPartial();
    breakCarry_.Reset();
}

// The file was cut in place or deleted: everything starts again from the
// file's start, which the next poll opens and the one after reads.
void CTarvikDoc::StartOver() {
    CloseHandle();
    readPosition_ = 0;
    ResetDisplay();
    SetTitle();
    filterStage_.ClearPartial();
    decoder_.Reset(ConfiguredEncoding());
    breakCarry_.Reset();
}

// Another file took the path (a rotation): it follows the rest of the old
// one in the same display, from its start, which the next poll opens and the
// one after reads. The buffer limit trims the old text as usual.
void CTarvikDoc::FollowReplacement() {
    EndUnfinishedLine();
    CloseHandle();
    readPosition_ = 0;
    SetTitle();
    filterStage_.ClearPartial();
    decoder_.Reset(ConfiguredEncoding());
    breakCarry_.Reset();
}

// The old file's last line ends with it, so that the new file's text starts
// a line of its own. The break is no new text: it raises no signal.
void CTarvikDoc::EndUnfinishedLine() {
    const int last = buffer_.LineCount() - 1;
    if (buffer_.LineLength(last) == 0 && filterStage_.PartialLine().empty()) return;
    AppendText(u"\n", false);
}

void CTarvikDoc::MarkNewData() {
    gotNewData_ = true;
    stopNoticeSent_ = false;
    lastUpdate_ = context_.clock.UnixTime();
}

}  // namespace core
