#pragma once
// The font of the Font command: the stored font record shown in the font
// dialog, and the dialog's choice kept as a font record again.

#include <QFont>

#include "settings/LogFont.h"
#include "settings/Options.h"

namespace app_ui {

QFont FontFromOptions(const settings::Options& options);
// A pixel-sized font keeps its pixel height (negative); a point-sized one is
// kept as the pixel height it has on a 96-dpi screen.
settings::LogFont LogFontFromFont(const QFont& font);
// The font with the family the system really matched for it (a face that is
// not installed falls back to another).
QFont FontInUse(const QFont& font);

}  // namespace app_ui
