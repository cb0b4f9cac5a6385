#pragma once
// The include and exclude lists in the settings store: one subkey per filter,
// named Filter1, Filter2, ... in list order, each holding Text, Enable,
// MatchCase and RegularExpression. The older layout kept one string value per
// filter and is read once to migrate it.
//
// Filters come back from the store as records only: folding and compiling is
// left to the owner of the lists.

#include <string_view>
#include <vector>

#include "filters/InExFilter.h"

namespace filters::inex_store {

inline constexpr std::u16string_view kIncludeKey = u"IncludeFilters2";
inline constexpr std::u16string_view kExcludeKey = u"ExcludeFilters2";
inline constexpr std::u16string_view kOlderIncludeKey = u"IncludeFilters";
inline constexpr std::u16string_view kOlderExcludeKey = u"ExcludeFilters";

// Appends the filters stored under rootPath\listKey to list, stopping at the
// first missing subkey or empty Text. A missing key adds nothing.
void LoadList(std::u16string_view rootPath, std::u16string_view listKey,
              std::vector<InExFilter>& list);

// Deletes every subkey of rootPath\listKey (the key itself stays) and writes
// the filters in list order. Filters with an empty Text are not written: in
// the store an empty Text ends the list, so every filter after it would be
// lost. False when the store refused a write.
bool SaveList(std::u16string_view rootPath, std::u16string_view listKey,
              const std::vector<InExFilter>& list);

// Appends one enabled filter, without match case, per non-empty string value
// of the older key rootPath\olderKey; its text is a regular expression
// exactly when it holds an asterisk. Returns how many were appended.
std::size_t ReadOlderList(std::u16string_view rootPath, std::u16string_view olderKey,
                          std::vector<InExFilter>& list);

// Deletes the older key with everything in it.
void DeleteOlderList(std::u16string_view rootPath, std::u16string_view olderKey);

}  // namespace filters::inex_store
