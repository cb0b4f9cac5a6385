#pragma once
// One scan of a line that tells which of many phrases may occur in it, so
// that the cost of a line hardly grows with the number of filters.
//
// The scan runs on lines that hold only ASCII characters (almost every log
// line), as bytes, with a multi-pattern engine built with the program when
// available (vectorscan). Each phrase is taken over in the prefilter's own
// syntax (AsciiPrefilterPattern) and only when it finds at least every match
// the phrase finds; the phrases it reports are then confirmed with
// MatchPhrase, so the answers stay exactly those of the phrases one by one.
// Phrases it does not cover, and lines that are not ASCII, are left to the
// caller. Without the engine it covers nothing.

#include <cstddef>
#include <memory>
#include <string_view>
#include <type_traits>
#include <vector>

#include "filters/FilterPhrase.h"

namespace filters {

class PhrasePrefilter {
public:
    PhrasePrefilter() = default;
    explicit PhrasePrefilter(const std::vector<const FilterPhrase*>& phrases);

    // Whether the program was built with the multi-pattern engine and this
    // machine runs it.
    static bool Available();

    // Phrase i (as given) is covered: on an ASCII line that the scan does
    // not report it for, it does not occur.
    bool Covers(std::size_t i) const { return i < covered_.size() && covered_[i]; }
    std::size_t CoveredCount() const { return coveredCount_; }

    enum class Scan { NotAscii, Stopped, Finished };

    // Scans line and calls onCandidate(i) for each covered phrase that may
    // occur in it, at most once each, in no particular order; the scan stops
    // as soon as onCandidate returns true. NotAscii (without calls) when the
    // line holds anything else than ASCII characters or nothing is covered.
    template <class OnCandidate>
    Scan ScanLine(std::u16string_view line, OnCandidate&& onCandidate) const {
        using Function = std::remove_reference_t<OnCandidate>;
        auto call = [](void* context, std::size_t i) -> bool {
            return (*static_cast<Function*>(context))(i);
        };
        void* context = const_cast<void*>(static_cast<const void*>(std::addressof(onCandidate)));
        return ScanWith(line, call, context);
    }

    // Marks in maybe (resized to the number of phrases given) each phrase
    // that may occur in line: the candidates of the scan, every phrase not
    // covered, or every phrase when the line is not ASCII.
    void MarkCandidates(std::u16string_view line, std::vector<char>& maybe) const;

private:
    using Callback = bool (*)(void* context, std::size_t i);
    Scan ScanWith(std::u16string_view line, Callback callback, void* context) const;

    struct Database;
    std::shared_ptr<const Database> database_;
    std::vector<char> covered_;
    std::size_t coveredCount_ = 0;
};

}  // namespace filters
