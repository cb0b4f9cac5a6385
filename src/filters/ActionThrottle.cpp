#include "filters/ActionThrottle.h"

#include <string>

#include "platform/DebugOutput.h"

namespace filters {

std::function<void()> CActionThrottle::TakeProgramPlace() {
    int running = running_->load();
    do {
        if (running >= kMaxRunning) {
            ++droppedPrograms_;
            return {};
        }
    } while (!running_->compare_exchange_weak(running, running + 1));
    return [running = running_, given = std::make_shared<std::atomic<bool>>(false)] {
        if (!given->exchange(true)) running->fetch_sub(1);
    };
}

void CActionThrottle::ReportDropped() {
    if (droppedPrograms_ == 0 && droppedPrintJobs_ == 0) return;
    std::string text(platform::kDebugPrefix);
    text += "Too many highlight actions at once: ";
    if (droppedPrograms_ > 0) {
        text += std::to_string(droppedPrograms_) + " program starts";
        if (droppedPrintJobs_ > 0) text += " and ";
    }
    if (droppedPrintJobs_ > 0) text += std::to_string(droppedPrintJobs_) + " print jobs";
    text += " dropped (at most " + std::to_string(kMaxRunning) + " run at once)";
    droppedPrograms_ = 0;
    droppedPrintJobs_ = 0;
    platform::OutputDebugStringA(text);
}

}  // namespace filters
