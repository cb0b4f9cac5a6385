#include "core/NewDataSignals.h"

#include "core/LineFlagBits.h"
#include "core/TarvikDoc.h"

namespace core {

bool ShouldFlashTab(bool flashTabItem, bool isActiveFrame, const core::TabFlashState& tab) {
    if (isActiveFrame || tab.flashing) return false;
    return flashTabItem ? !tab.suppressed : tab.requested;
}

void RaiseNewDataSignals(CTarvikDoc& doc, int firstNewLine, const settings::Options& options,
                         core::IDocumentHost* host) {
    if (!host) {
        DrawRedLineOnArrival(doc, firstNewLine, options, false);
        return;
    }
    if (options.BlinkIcon && host->IsInTray() && !host->IsTrayBlinking()) host->BlinkTrayIcon();

    const bool isActiveFrame = host->IsActiveDocumentFrame(doc);
    if (ShouldFlashTab(options.FlashTabItem, isActiveFrame, host->GetTabFlashState(doc))) {
        host->FlashTab(doc);
    }
    DrawRedLineOnArrival(doc, firstNewLine, options, isActiveFrame && host->IsApplicationActive());
}

void DrawRedLineOnArrival(CTarvikDoc& doc, int firstNewLine, const settings::Options& options,
                          bool userIsLooking) {
    if (!doc.IsRedLineArmed() || !options.DrawRedLine || userIsLooking) return;
    doc.SetRedLineArmed(false);
    doc.Buffer().SetLineFlag(firstNewLine, kRedLineFlag, true, options.RemovePreRedLine);
}

}  // namespace core
