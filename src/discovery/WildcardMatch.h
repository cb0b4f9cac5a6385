#pragma once
// File-name patterns as a folder search matches them: '*' stands for any run
// of characters (none included), '?' for exactly one; every other character
// matches only itself, case included.

#include <string_view>

namespace discovery {

bool MatchesWildcard(std::u16string_view name, std::u16string_view pattern);

}  // namespace discovery
