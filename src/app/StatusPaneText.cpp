#include "app/StatusPaneText.h"

#include "app/RefreshRate.h"
#include "core/SizeFormat.h"
#include "core/TarvikDoc.h"

namespace app {

std::u16string RefreshRatePaneText(const settings::Options& options) {
    return core::FormatDuration(RunningRefreshPeriod(options.IntervalChkFile));
}

std::u16string MaxBufferSizePaneText(const settings::Options& options) {
    if (!options.LimitBufSize) return u"Unlimited";
    return core::FormatBufferSize(options.MaxBufSiz);
}

std::u16string MonitoringStatusText(const core::CTarvikDoc* activeDocument) {
    if (!activeDocument) return u"Monitoring status";
    return activeDocument->IsMonitoring() ? u"Monitoring" : u"Stopped";
}

}  // namespace app
