#pragma once
// The two tilings of the main window: equal strips across the whole width
// (stacked from the top) or the whole height (side by side from the left).

#include <QRect>
#include <vector>

namespace app_ui {

// count strips over area; the integer share leaves any remainder to the
// last strip, which reaches the far edge. Nothing for count <= 0 or an
// empty area.
std::vector<QRect> FullWidthStrips(const QRect& area, int count);
std::vector<QRect> FullHeightStrips(const QRect& area, int count);

}  // namespace app_ui
