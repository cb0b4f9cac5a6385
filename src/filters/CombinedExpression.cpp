#include "filters/CombinedExpression.h"

#include <cstdint>
#include <string>

#include "filters/Pcre2Engine.h"

namespace filters {

CombinedExpression::CombinedExpression(pcre2_real_code_16* code, bool jitCompiled)
    : code_(code), jitCompiled_(jitCompiled) {}

CombinedExpression::~CombinedExpression() {
    pcre2_code_free_16(code_);
}

std::shared_ptr<const CombinedExpression> CombinedExpression::Compile(std::u16string_view pattern) {
    pcre2_code_16* code = pcre::Compile(pattern);
    if (code == nullptr) return nullptr;
    return std::shared_ptr<const CombinedExpression>(
        new CombinedExpression(code, pcre::CompileToMachineCode(code)));
}

bool CombinedExpression::ClosesItsGroup(std::u16string_view wrappedPiece) {
    std::u16string probe(wrappedPiece);
    probe += u')';
    int error = 0;
    PCRE2_SIZE offset = 0;
    pcre2_code_16* code = pcre2_compile_16(pcre::Units(probe), probe.size(), pcre::kCompileOptions,
                                           &error, &offset, nullptr);
    if (code != nullptr) {
        pcre2_code_free_16(code);
        return false;
    }
    return error == PCRE2_ERROR_UNMATCHED_CLOSING_PARENTHESIS && offset == probe.size() - 1;
}

CombinedResult CombinedExpression::Search(std::u16string_view line) const {
    if (line.empty()) return CombinedResult::NoMatch;
    pcre::MatchScratch& scratch = pcre::ThreadScratch();
    if (!scratch.Usable()) return CombinedResult::GaveUp;
    const int rc = pcre::Match(code_, jitCompiled_, line, 0, scratch);
    if (rc == PCRE2_ERROR_NOMATCH) return CombinedResult::NoMatch;
    if (rc < 0) return CombinedResult::GaveUp;
    return CombinedResult::Match;
}

}  // namespace filters
