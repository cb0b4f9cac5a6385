#pragma once
// The toolbar's images: the desktop theme's icon where the theme has one (as
// the desktop's other programs show), else our own drawing, which stays sharp
// at any scale where the style's small built-in bitmaps would be stretched.

#include <QIcon>

namespace app_ui {

enum class ToolBarImage { Open, Start, Pause, Reload, ClearAll, GoToEnd };

// The theme's icon for the image, else the drawn one.
QIcon ToolBarIcon(ToolBarImage image);
// Always the drawn one.
QIcon DrawnToolBarIcon(ToolBarImage image);

}  // namespace app_ui
