#pragma once
// What every log document shares with the application: the options, the
// include/exclude filters, the clock, the highlight filters and, when there
// is a screen, the main frame and the user interface. The application owns one and hands it to
// each document it creates; the documents read it, never copy it.

#include "app/IDocumentHost.h"
#include "app/IUserInterface.h"
#include "app/Options.h"
#include "filters/HighlightFilters.h"
#include "filters/InExFilterList.h"
#include "platform/IClock.h"

namespace core {

struct DocContext {
    const app::Options& options;
    const filters::CInExFilters& inExFilters;
    const platform::IClock& clock;
    app::IDocumentHost* host = nullptr;
    app::IUserInterface* ui = nullptr;
    // Off while several files are opened at once and their failures are
    // reported together.
    bool reportOpenFailure = true;
    // A 1-based line to go to after the next opening; 0 for none.
    int pendingGoToLine = 0;
    // The application's highlight filters; none for a document on its own.
    // Not const: a closing document leaves the filters' notified sets.
    filters::CHighlightFilters* highlightFilters = nullptr;
};

}  // namespace core
