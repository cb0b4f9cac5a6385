#include "filters/FilterExpression.h"

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include <cstdint>
#include <string>

#include "filters/LoneSurrogates.h"

namespace filters {

namespace {

// A search that needs more backtracking steps than this from one start
// position ends as "not found". A runaway pattern such as (a+)+$ against ten
// thousand a's gives up within a few milliseconds, while ordinary patterns on
// long lines stay far below it.
constexpr std::uint32_t kMatchLimit = 1'000'000;
// Bounds the memory of the interpreter, used only when JIT compilation fails.
constexpr std::uint32_t kHeapLimitKiB = 20 * 1024;
// The JIT stack grows on demand up to this size; deep patterns on long lines
// would overflow the small default stack and wrongly report "not found".
constexpr std::size_t kJitStackStart = 32 * 1024;
constexpr std::size_t kJitStackMax = 4 * 1024 * 1024;

constexpr std::uint32_t kCompileOptions =
    PCRE2_UTF | PCRE2_UCP | PCRE2_NO_AUTO_CAPTURE | PCRE2_NEVER_BACKSLASH_C;
// Subjects are made well-formed before every search, so the engine need not
// check them again.
constexpr std::uint32_t kMatchOptions = PCRE2_NOTEMPTY | PCRE2_NO_UTF_CHECK;

PCRE2_SPTR16 Units(std::u16string_view text) {
    static constexpr char16_t kEmpty[] = u"";
    return reinterpret_cast<PCRE2_SPTR16>(text.empty() ? kEmpty : text.data());
}

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

// The match state of one thread, made once and reused for every search.
class MatchScratch {
public:
    MatchScratch()
        : data_(pcre2_match_data_create_16(1, nullptr)),
          context_(pcre2_match_context_create_16(nullptr)),
          jitStack_(pcre2_jit_stack_create_16(kJitStackStart, kJitStackMax, nullptr)) {
        if (context_ == nullptr) return;
        pcre2_set_match_limit_16(context_, kMatchLimit);
        pcre2_set_heap_limit_16(context_, kHeapLimitKiB);
        if (jitStack_ != nullptr) pcre2_jit_stack_assign_16(context_, nullptr, jitStack_);
    }

    ~MatchScratch() {
        pcre2_jit_stack_free_16(jitStack_);
        pcre2_match_context_free_16(context_);
        pcre2_match_data_free_16(data_);
    }

    MatchScratch(const MatchScratch&) = delete;
    MatchScratch& operator=(const MatchScratch&) = delete;

    bool Usable() const { return data_ != nullptr && context_ != nullptr; }
    pcre2_match_data_16* Data() const { return data_; }
    pcre2_match_context_16* Context() const { return context_; }
    // Storage for the repaired copy of a line holding lone surrogates.
    std::u16string& Repaired() { return repaired_; }

private:
    pcre2_match_data_16* data_;
    pcre2_match_context_16* context_;
    pcre2_jit_stack_16* jitStack_;
    std::u16string repaired_;
};

MatchScratch& ThreadScratch() {
    thread_local MatchScratch scratch;
    return scratch;
}

// The line itself when it is well-formed UTF-16, else its repaired copy.
std::u16string_view WellFormedSubject(std::u16string_view line) {
    if (!HasLoneSurrogate(line)) return line;
    std::u16string& repaired = ThreadScratch().Repaired();
    CopyReplacingLoneSurrogates(line, repaired);
    return repaired;
}

// True when the pattern now runs as machine code. A pattern may refuse it
// with (*NO_JIT) and still report success, so the size of the code decides.
bool CompileToMachineCode(pcre2_code_16* code) {
    if (pcre2_jit_compile_16(code, PCRE2_JIT_COMPLETE) != 0) return false;
    std::size_t size = 0;
    return pcre2_pattern_info_16(code, PCRE2_INFO_JITSIZE, &size) == 0 && size > 0;
}

}  // namespace

FilterExpression::FilterExpression(pcre2_real_code_16* code, bool jitCompiled)
    : code_(code), jitCompiled_(jitCompiled) {}

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
    const int rc = jitCompiled_
                       ? pcre2_jit_match_16(code_, Units(subject), subject.size(), from,
                                            kMatchOptions, scratch.Data(), scratch.Context())
                       : pcre2_match_16(code_, Units(subject), subject.size(), from, kMatchOptions,
                                        scratch.Data(), scratch.Context());
    if (rc < 0) return std::nullopt;
    const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer_16(scratch.Data());
    if (ovector[1] <= ovector[0]) return std::nullopt;
    return PhraseOccurrence{ovector[0], ovector[1] - ovector[0]};
}

std::shared_ptr<const FilterExpression> CompileFilterExpression(std::u16string_view pattern,
                                                                bool matchCase) {
    const std::uint32_t options = kCompileOptions | (matchCase ? 0u : PCRE2_CASELESS);
    int error = 0;
    PCRE2_SIZE errorOffset = 0;
    pcre2_code_16* code =
        pcre2_compile_16(Units(pattern), pattern.size(), options, &error, &errorOffset, nullptr);
    if (code == nullptr) return nullptr;
    return std::shared_ptr<const FilterExpression>(
        new FilterExpression(code, CompileToMachineCode(code)));
}

std::optional<PhraseOccurrence> SearchFilterExpression(const FilterExpression* expression,
                                                       std::u16string_view line, std::size_t from) {
    if (expression == nullptr) return std::nullopt;
    return expression->Search(line, from);
}

}  // namespace filters
