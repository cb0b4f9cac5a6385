#pragma once
// The colour runs of the application's highlight filters, with the
// highlight options read from the application's options at each call, so a
// change in the Options dialog shows at the next paint.

#include "filters/HighlightFilters.h"
#include "settings/Options.h"
#include "view/ILineColorProvider.h"

namespace view {

class CFilterColorProvider : public ILineColorProvider {
public:
    CFilterColorProvider(const filters::CHighlightFilters& filters,
                         const settings::Options& options)
        : filters_(filters), options_(options) {}

    void GetLineColors(std::u16string_view text, filters::ColorizeMode mode,
                       filters::LineColors& colors, filters::HighlightRunList& runs) const override;
    bool HasHighlightFilters() const override { return !filters_.Empty(); }
    filters::HighlightOptions Options() const override;

private:
    const filters::CHighlightFilters& filters_;
    const settings::Options& options_;
};

}  // namespace view
