#pragma once
// The highlight options live among the application's options (they are
// stored with them); the colouring code takes them as one small value.

#include "filters/HighlightOptions.h"
#include "settings/Options.h"

namespace filters {

HighlightOptions HighlightOptionsOf(const settings::Options& options);
void StoreHighlightOptions(settings::Options& options, const HighlightOptions& highlight);

}  // namespace filters
