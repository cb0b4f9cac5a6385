#pragma once
// Paints a line for a terminal the way the log view colours it: the runs of
// the highlight filters in their own colours, and the line's colours (an
// entire-line filter, or HLLineBkgColor behind a line with coloured phrases)
// behind the rest. Colours become 24-bit escapes; text the view would draw in
// its normal colours keeps the terminal's own, so a line nothing colours is
// printed as plain text.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "TerminalText.h"
#include "filters/HighlightFilters.h"
#include "filters/HighlightOptions.h"

namespace tail {

class CAnsiColorizer {
public:
    // Both are read at each call, so they must outlive the colorizer.
    CAnsiColorizer(const filters::CHighlightFilters& filters,
                   const filters::HighlightOptions& options)
        : filters_(filters), options_(options) {}

    // The line from character `from` on, as UTF-8 in the given form (the
    // escapes of the colours themselves are always written). Colours are worked out
    // for the whole line, so a line printed in two parts looks as if printed
    // at once. Anything coloured ends with a reset, so no colour leaks into
    // the next line.
    std::string Paint(std::u16string_view line, std::size_t from = 0,
                      TextForm form = TextForm::AsRead) const;

private:
    const filters::CHighlightFilters& filters_;
    const filters::HighlightOptions& options_;
};

}  // namespace tail
