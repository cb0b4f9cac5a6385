#pragma once
// Key and value names of the settings store: how they compare and how a key
// path splits into names.

#include <string>
#include <string_view>
#include <vector>

namespace platform::registry_names {

// Longest key name accepted, in UTF-16 code units.
constexpr std::size_t kMaxKeyNameLength = 255;
// Deepest key accepted: the number of names below the root. Walks of the
// tree never go deeper, so a store that does is damaged.
constexpr std::size_t kMaxKeyDepth = 512;

// The name cut at its first zero: the calling code hands over C strings.
std::u16string_view UpToTerminator(std::u16string_view name);

// The form two names are compared in: A-Z and the cased letters of the
// Latin-1, Latin Extended-A, Greek and Cyrillic blocks mapped to lower case,
// then UTF-8. Equal folded forms mean the same name.
std::string Fold(std::u16string_view name);

// Splits a backslash path into key names. Empty components (doubled or
// leading/trailing separators) are skipped. Returns false when a name is too
// long, leaving parts unspecified.
bool SplitPath(std::u16string_view path, std::vector<std::u16string>& parts);

}  // namespace platform::registry_names
