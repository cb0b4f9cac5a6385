#pragma once
// What every log document shares with the application: the options, the
// include/exclude filters, the clock, the highlight filters and, when there
// is a screen, the main frame and the user interface. The application owns one and hands it to
// each document it creates; the documents read it, never copy it.

#include "core/IDocumentHost.h"
#include "core/IExternalPrograms.h"
#include "core/IStopUpdatingCheck.h"
#include "core/IUserInterface.h"
#include "filters/HighlightActions.h"
#include "filters/HighlightFilters.h"
#include "filters/InExFilterList.h"
#include "platform/IClock.h"
#include "platform/IUiQueue.h"
#include "settings/Options.h"

namespace core {

struct DocContext {
    const settings::Options& options;
    const filters::CInExFilters& inExFilters;
    const platform::IClock& clock;
    core::IDocumentHost* host = nullptr;
    core::IUserInterface* ui = nullptr;
    // Off while several files are opened at once and their failures are
    // reported together.
    bool reportOpenFailure = true;
    // A 1-based line to go to after the next opening; 0 for none.
    int pendingGoToLine = 0;
    // The application's highlight filters; none for a document on its own.
    // Not const: a closing document leaves the filters' notified sets.
    filters::CHighlightFilters* highlightFilters = nullptr;
    // Where the actions of highlight filters go; none runs without them.
    const filters::HighlightActionPorts* highlightActions = nullptr;
    // Carries the capture thread's failure to the user-interface thread;
    // none for a program that cannot show one.
    platform::IUiQueue* uiQueue = nullptr;
    // The stop-updating notification; none where it does not run.
    IStopUpdatingCheck* stopUpdating = nullptr;
    // The editor and the file manager; none for a document on its own.
    core::IExternalPrograms* externalPrograms = nullptr;
};

}  // namespace core
