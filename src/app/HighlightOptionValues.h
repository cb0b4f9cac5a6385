#pragma once
// The highlight options live among the application's options (they are
// stored with them); the colouring code takes them as one small value.

#include "app/Options.h"
#include "filters/HighlightOptions.h"

namespace app {

filters::HighlightOptions HighlightOptionsOf(const Options& options);
void StoreHighlightOptions(Options& options, const filters::HighlightOptions& highlight);

}  // namespace app
