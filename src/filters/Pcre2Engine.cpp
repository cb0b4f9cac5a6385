#include "filters/Pcre2Engine.h"

namespace filters::pcre {

namespace {

// A search that needs more backtracking steps than this from one start
// position ends as "not found". Every line of a log may be hostile, so a
// give-up must be cheap: a runaway pattern such as (a+)+$ or (\w+\s?)*$
// against a hostile line gives up in some 10 to 60 microseconds with machine
// code. The patterns of real filters need far fewer steps on lines of a few
// hundred characters; the greediest of them, .*(a|b|c).*, needs this many on
// a line of 4 KB.
constexpr std::uint32_t kMatchLimit = 5'000;
// The nesting of backtracking points of the interpreter: real patterns need
// under a hundred, a nested repeat over a hostile line many thousands.
constexpr std::uint32_t kDepthLimit = 1'000;
// Bounds the memory of the interpreter, used only when JIT compilation fails.
constexpr std::uint32_t kHeapLimitKiB = 20 * 1024;
// The JIT stack grows on demand up to this size; deep patterns on long lines
// would overflow the small default stack and wrongly report "not found".
constexpr std::size_t kJitStackStart = 32 * 1024;
constexpr std::size_t kJitStackMax = 4 * 1024 * 1024;

}  // namespace

PCRE2_SPTR16 Units(std::u16string_view text) {
    static constexpr char16_t kEmpty[] = u"";
    return reinterpret_cast<PCRE2_SPTR16>(text.empty() ? kEmpty : text.data());
}

pcre2_code_16* Compile(std::u16string_view pattern, std::uint32_t extraOptions) {
    int error = 0;
    PCRE2_SIZE errorOffset = 0;
    return pcre2_compile_16(Units(pattern), pattern.size(), kCompileOptions | extraOptions, &error,
                            &errorOffset, nullptr);
}

bool CompileToMachineCode(pcre2_code_16* code) {
    if (pcre2_jit_compile_16(code, PCRE2_JIT_COMPLETE) != 0) return false;
    std::size_t size = 0;
    return pcre2_pattern_info_16(code, PCRE2_INFO_JITSIZE, &size) == 0 && size > 0;
}

MatchScratch::MatchScratch()
    : data_(pcre2_match_data_create_16(1, nullptr)),
      context_(pcre2_match_context_create_16(nullptr)),
      jitStack_(pcre2_jit_stack_create_16(kJitStackStart, kJitStackMax, nullptr)) {
    if (context_ == nullptr) return;
    pcre2_set_match_limit_16(context_, kMatchLimit);
    pcre2_set_depth_limit_16(context_, kDepthLimit);
    pcre2_set_heap_limit_16(context_, kHeapLimitKiB);
    if (jitStack_ != nullptr) pcre2_jit_stack_assign_16(context_, nullptr, jitStack_);
}

MatchScratch::~MatchScratch() {
    pcre2_jit_stack_free_16(jitStack_);
    pcre2_match_context_free_16(context_);
    pcre2_match_data_free_16(data_);
}

MatchScratch& ThreadScratch() {
    thread_local MatchScratch scratch;
    return scratch;
}

bool GaveUp(int rc) {
    return rc == PCRE2_ERROR_MATCHLIMIT || rc == PCRE2_ERROR_DEPTHLIMIT ||
           rc == PCRE2_ERROR_HEAPLIMIT || rc == PCRE2_ERROR_JIT_STACKLIMIT;
}

int Match(const pcre2_code_16* code, bool jitCompiled, std::u16string_view subject,
          std::size_t from, MatchScratch& scratch) {
    return jitCompiled ? pcre2_jit_match_16(code, Units(subject), subject.size(), from,
                                            kMatchOptions, scratch.Data(), scratch.Context())
                       : pcre2_match_16(code, Units(subject), subject.size(), from, kMatchOptions,
                                        scratch.Data(), scratch.Context());
}

}  // namespace filters::pcre
