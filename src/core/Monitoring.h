#pragma once
// Monitoring control over the open documents: the refresh tick that polls
// every monitoring document, switching monitoring for all of them, and going
// to the end of every view. The list is the application's, in its order.

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
void PollDocuments(const DocumentList& documents, const CPollBudget& budget = {});

void SetMonitoringAll(const DocumentList& documents, bool on);

// Asks every document's view to go to its end, as its Ctrl+End would.
void GoToEndOfAll(const DocumentList& documents);

}  // namespace core
