#pragma once
// The stored font record as a Qt font.

#include <QFont>

#include "settings/LogFont.h"

namespace view {

// The screen resolution the stored pixel heights are meant for.
inline constexpr int kStoredFontDpi = 96;

// A negative height is a pixel size, a positive one a point size; a face the
// system lacks (or that is not fixed-pitch) gives way to the system's fixed font.
// The pixel size is scaled by logicalDpi / 96. Qt already multiplies logical
// pixels by the device pixel ratio, so on a scaled screen the logical DPI
// stays 96 and nothing more is scaled; where scaling is off or rounded and
// the logical DPI grows instead (as point-sized text does), the font grows
// with it.
QFont FontFromLogFont(const settings::LogFont& logFont, int logicalDpi = kStoredFontDpi);

}  // namespace view
