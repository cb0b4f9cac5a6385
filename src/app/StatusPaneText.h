#pragma once
// The texts of the status bar's information panes that come from options and
// documents.

#include <string>

#include "settings/Options.h"

namespace core {
class CTarvikDoc;
}

namespace app {

// "Refresh rate": the period the monitoring timer runs with (IntervalChkFile
// within its bounds) as a duration.
std::u16string RefreshRatePaneText(const settings::Options& options);
// "Maximum buffer size": "Unlimited" without a limit, else the limit as a
// buffer size.
std::u16string MaxBufferSizePaneText(const settings::Options& options);
// "Monitoring status": the tooltip for the active document, or the pane's
// label when there is none.
std::u16string MonitoringStatusText(const core::CTarvikDoc* activeDocument);

}  // namespace app
