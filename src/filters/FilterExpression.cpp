#include "filters/FilterExpression.h"

#include <cstdint>
#include <string>

#include "filters/LoneSurrogates.h"
#include "filters/Pcre2Engine.h"
#include "filters/SearchLimitHits.h"

namespace filters {

namespace {

using pcre::MatchScratch;
using pcre::ThreadScratch;

constexpr bool IsLowSurrogate(char16_t ch) {
    return (ch & 0xFC00) == 0xDC00;
}
constexpr bool IsHighSurrogate(char16_t ch) {
    return (ch & 0xFC00) == 0xD800;
}

// A column inside a surrogate pair is moved to the pair's end: no character
// starts there, and the engine must never be started in the middle of one.
std::size_t CharacterBoundary(std::u16string_view subject, std::size_t from) {
    if (from > 0 && from < subject.size() && IsLowSurrogate(subject[from]) &&
        IsHighSurrogate(subject[from - 1])) {
        return from + 1;
    }
    return from;
}

// The line itself when it is well-formed UTF-16, else its repaired copy.
std::u16string_view WellFormedSubject(std::u16string_view line) {
    if (!HasLoneSurrogate(line)) return line;
    std::u16string& repaired = ThreadScratch().Repaired();
    CopyReplacingLoneSurrogates(line, repaired);
    return repaired;
}

}  // namespace

FilterExpression::FilterExpression(pcre2_real_code_16* code, bool jitCompiled,
                                   std::u16string_view pattern)
    : code_(code), jitCompiled_(jitCompiled), pattern_(pattern) {}

FilterExpression::~FilterExpression() {
    pcre2_code_free_16(code_);
}

std::optional<PhraseOccurrence> FilterExpression::Search(std::u16string_view line,
                                                         std::size_t from) const {
    if (from >= line.size()) return std::nullopt;
    return SearchWellFormed(WellFormedSubject(line), from);
}

std::vector<PhraseOccurrence> FilterExpression::SearchAll(std::u16string_view line) const {
    std::vector<PhraseOccurrence> occurrences;
    const std::u16string_view subject = WellFormedSubject(line);
    std::size_t from = 0;
    while (from < subject.size()) {
        const std::optional<PhraseOccurrence> found = SearchWellFormed(subject, from);
        if (!found) break;
        occurrences.push_back(*found);
        from = found->start + found->length;
    }
    return occurrences;
}

std::optional<PhraseOccurrence> FilterExpression::SearchWellFormed(std::u16string_view subject,
                                                                   std::size_t from) const {
    MatchScratch& scratch = ThreadScratch();
    if (!scratch.Usable()) return std::nullopt;
    from = CharacterBoundary(subject, from);
    // Failures (no match, match or heap limit, JIT stack exhausted) all mean
    // "not found"; the caller goes on with the next filter or line.
    const int rc = pcre::Match(code_, jitCompiled_, subject, from, scratch);
    if (rc < 0) {
        if (pcre::GaveUp(rc)) NoteSearchLimitHit(pattern_);
        return std::nullopt;
    }
    const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer_16(scratch.Data());
    if (ovector[1] <= ovector[0]) return std::nullopt;
    return PhraseOccurrence{ovector[0], ovector[1] - ovector[0]};
}

std::shared_ptr<const FilterExpression> CompileFilterExpression(std::u16string_view pattern,
                                                                bool matchCase) {
    pcre2_code_16* code = pcre::Compile(pattern, matchCase ? 0u : PCRE2_CASELESS);
    if (code == nullptr) return nullptr;
    return std::shared_ptr<const FilterExpression>(
        new FilterExpression(code, pcre::CompileToMachineCode(code), pattern));
}

std::optional<PhraseOccurrence> SearchFilterExpression(const FilterExpression* expression,
                                                       std::u16string_view line, std::size_t from) {
    if (expression == nullptr) return std::nullopt;
    return expression->Search(line, from);
}

}  // namespace filters
