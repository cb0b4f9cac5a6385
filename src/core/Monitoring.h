#pragma once
// Monitoring control over the open documents: the refresh tick that polls
// every monitoring document, switching monitoring for all of them, and going
// to the end of every view. The list is the application's, in its order.

#include <functional>
#include <memory>
#include <vector>

#include "core/TarvikDoc.h"

namespace core {

using DocumentList = std::vector<std::unique_ptr<CTarvikDoc>>;

// One tick of the refresh timer: each monitoring document, in list order,
// polls its file, or takes over the captured text. A paused document is
// skipped entirely: its file is not even measured, and the stop-updating
// check does not run for it. The documents share the budget; each reads at
// least once, so none waits behind another.
//
// A document for which `leftToEvents` says so is not polled: its file
// events tell of its changes. Only its stop-updating check runs, as for a
// poll that found nothing new.
using TickSkip = std::function<bool(const CTarvikDoc&)>;
void PollDocuments(const DocumentList& documents, const CPollBudget& budget = {},
                   const TickSkip& leftToEvents = {});

void SetMonitoringAll(const DocumentList& documents, bool on);

// Asks every document's view to go to its end, as its Ctrl+End would.
void GoToEndOfAll(const DocumentList& documents);

}  // namespace core
