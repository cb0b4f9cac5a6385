#include "discovery/WildcardMatch.h"

#include <cstddef>

namespace discovery {

bool MatchesWildcard(std::u16string_view name, std::u16string_view pattern) {
    // Greedy walk with one back-track point at the last '*': linear in
    // practice and never recursive, whatever the pattern.
    std::size_t n = 0;
    std::size_t p = 0;
    std::size_t starPattern = std::u16string_view::npos;
    std::size_t starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == u'?' || pattern[p] == name[n])) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            starPattern = p++;
            starName = n;
        } else if (starPattern != std::u16string_view::npos) {
            p = starPattern + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*') ++p;
    return p == pattern.size();
}

}  // namespace discovery
