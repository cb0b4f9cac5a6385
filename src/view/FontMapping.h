#pragma once
// The stored font record as a Qt font.

#include <QFont>

#include "settings/LogFont.h"

namespace view {

// A negative height is a pixel size, a positive one a point size; a face the
// system lacks (or that is not fixed-pitch) gives way to the system's fixed font.
QFont FontFromLogFont(const settings::LogFont& logFont);

}  // namespace view
