#pragma once
// The highlight filters in the settings store: one subkey "Filter%d" per
// filter under HighlightFilters2, numbered from 1 in list order, and the
// migration of the older layout UHighlightFilters (one fixed-size record per
// value). Store errors are silent: values that cannot be read keep their
// reset values.

#include <string_view>

#include "filters/HighlightFilters.h"

namespace filters {

inline constexpr std::u16string_view kHighlightStoreRoot = u"Software\\Ostra Tarvik";

// Migrates UHighlightFilters (its records first, then the key is deleted),
// then appends the filters of HighlightFilters2 up to the first missing
// subkey or empty Text. When anything was migrated the whole list is saved
// in the current layout. Returns the number of migrated filters.
int LoadHighlightFilters(CHighlightFilters& filters,
                         std::u16string_view rootPath = kHighlightStoreRoot);

// Deletes every subkey of HighlightFilters2 (the key itself stays) and
// writes the filters in list order, all in one transaction. False when the
// store refused.
bool SaveHighlightFilters(const CHighlightFilters& filters,
                          std::u16string_view rootPath = kHighlightStoreRoot);

}  // namespace filters
