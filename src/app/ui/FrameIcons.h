#pragma once
// The frame's own small images, drawn in code at the size and pixel ratio
// they are shown at, so they stay crisp on scaled screens and need no
// resource files: the monitoring and stopped pane icons, the two tray icons
// that alternate while new data waits, and the tab images (new data, blank
// and the six colour marks).

#include <QColor>
#include <QIcon>
#include <QPixmap>

namespace app_ui {

// The images a tab can show, in the order of the tab image list.
enum class TabImage {
    NewData = 0,
    Blank = 1,
    Red = 2,
    Green = 3,
    Blue = 4,
    Yellow = 5,
    Purple = 6,
    Cyan = 7,
};

constexpr int kTabImageWidth = 10;
constexpr int kTabMarkCount = 6;

// Whether the image is one of the six colour marks.
bool IsTabMark(TabImage image);
// The colour of a mark; an invalid colour for the other images.
QColor TabMarkColor(TabImage image);
// The mark for a position 0..5 in the mark menus (red, green, blue, yellow,
// purple, cyan).
TabImage TabMarkAt(int position);
// The menu text of the mark at a position ("&Red" ...), untranslated.
const char* TabMarkName(int position);

// The image at one device pixel per unit, 10 x 10.
QPixmap TabImagePixmap(TabImage image);
QIcon TabImageIcon(TabImage image);

QIcon MonitoringIcon();
QIcon StoppedIcon();
// The name of the installed desktop entry and icon (ostra-tarvik.desktop,
// ostra-tarvik.svg).
inline constexpr const char* kDesktopName = "ostra-tarvik";
// The installed icon from the icon theme, else the drawn tray image: for the
// windows and the tray.
QIcon ApplicationIcon();
QIcon TrayNormalIcon();
QIcon TrayAlternateIcon();

}  // namespace app_ui
