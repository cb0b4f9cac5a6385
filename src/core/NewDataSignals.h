#pragma once
// What the user is told when new text was appended to a document where they
// were not looking, in this order: the tray icon blinks while the window is
// in the tray, the tab of an inactive document flashes, and an armed
// document marks the line at which the arrival began with a red line.

#include "core/IDocumentHost.h"
#include "settings/Options.h"

namespace core {

class CTarvikDoc;

// Whether a document's tab starts flashing: its frame is not the active one,
// the tab is not flashing already, and the tab's own choice allows it
// (FlashTabItem on and not suppressed, or off and requested).
bool ShouldFlashTab(bool flashTabItem, bool isActiveFrame, const core::TabFlashState& tab);

// Raised only after text was actually appended; firstNewLine is the line at
// which the new text began. Without a host nobody is looking at the
// document, so only the red line can be drawn.
void RaiseNewDataSignals(CTarvikDoc& doc, int firstNewLine, const settings::Options& options,
                         core::IDocumentHost* host);

// The red line of an arrival: an armed document with DrawRedLine on gets the
// red-line flag on firstNewLine and is disarmed, unless the user is looking
// at it (the application is active and its frame is the active one), in
// which case it stays armed. With RemovePreRedLine the previous red line
// goes, so there is one per document.
void DrawRedLineOnArrival(CTarvikDoc& doc, int firstNewLine, const settings::Options& options,
                          bool userIsLooking);

}  // namespace core
