#pragma once
// What every PCRE2 search of the filters shares: the compile options, the
// limits that make a runaway pattern end as "not found", and the per-thread
// match state that is made once and reused. Included by .cpp files only.

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace filters::pcre {

// Perl syntax over UTF-16 with Unicode properties and case folding, no captures.
constexpr std::uint32_t kCompileOptions =
    PCRE2_UTF | PCRE2_UCP | PCRE2_NO_AUTO_CAPTURE | PCRE2_NEVER_BACKSLASH_C;
// Subjects are made well-formed before every search, so the engine need not
// check them again; empty matches never count.
constexpr std::uint32_t kMatchOptions = PCRE2_NOTEMPTY | PCRE2_NO_UTF_CHECK;

PCRE2_SPTR16 Units(std::u16string_view text);

// The compiled pattern, or null when it does not compile.
pcre2_code_16* Compile(std::u16string_view pattern, std::uint32_t extraOptions = 0);

// True when the pattern now runs as machine code. A pattern may refuse it
// with (*NO_JIT) and still report success, so the size of the code decides.
bool CompileToMachineCode(pcre2_code_16* code);

// The match state of one thread.
class MatchScratch {
public:
    MatchScratch();
    ~MatchScratch();
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

MatchScratch& ThreadScratch();

// The result code of a search that gave up at a limit (match, depth, heap or
// JIT stack) rather than finding that nothing matches.
bool GaveUp(int rc);

// One search of a well-formed subject from a column; the engine's result code.
int Match(const pcre2_code_16* code, bool jitCompiled, std::u16string_view subject,
          std::size_t from, MatchScratch& scratch);

}  // namespace filters::pcre
