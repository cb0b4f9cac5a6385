#include "app/ui/FrameIcons.h"

#include <QPainter>
#include <QPainterPath>

#include "app/ui/DrawnIcon.h"

namespace app_ui {

namespace {

// Design squares of the drawings: the tab images are 10 units, the others 16.
constexpr qreal kTabUnits = kTabImageWidth;
constexpr qreal kIconUnits = 16;

// A small round dot in the mark's colour with a darker rim, readable on
// light and dark tab backgrounds. The rim lies on whole units, so where it
// crosses the middle row it covers whole pixels at any whole ratio.
IconDrawing MarkDrawing(const QColor& color) {
    return [color](QPainter& painter) {
        painter.setPen(QPen(color.darker(160), 1));
        painter.setBrush(color);
        painter.drawEllipse(QRectF(1.5, 1.5, kTabUnits - 3, kTabUnits - 3));
    };
}

// An orange star-like burst: "something new arrived here".
void DrawNewData(QPainter& painter) {
    painter.setPen(QPen(QColor(150, 60, 0), 1));
    painter.setBrush(QColor(255, 140, 0));
    painter.drawRect(QRectF(1.5, 1.5, kTabUnits - 3, kTabUnits - 3));
    painter.setPen(QPen(Qt::white, 1.5));
    painter.drawLine(QPointF(5, 2.5), QPointF(5, 5.5));
    painter.drawPoint(QPointF(5, 7.5));
}

// A document page with text lines; the accent colour tells the state.
void DrawPage(QPainter& painter, const QColor& accent) {
    painter.setPen(QPen(QColor(60, 60, 60), 1));
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(2.5, 1.5, 9, 13));
    painter.setPen(QPen(QColor(120, 120, 120), 1));
    for (qreal y = 4.5; y < 13; y += 2.5) painter.drawLine(QPointF(4, y), QPointF(10, y));
    painter.setPen(QPen(accent.darker(150), 1));
    painter.setBrush(accent);
    painter.drawEllipse(QRectF(8.5, 8.5, 7, 7));
}

void DrawMonitoring(QPainter& painter) {
    DrawPage(painter, QColor(0, 170, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    QPainterPath play;
    play.moveTo(11, 10);
    play.lineTo(14, 12);
    play.lineTo(11, 14);
    play.closeSubpath();
    painter.drawPath(play);
}

void DrawStopped(QPainter& painter) {
    DrawPage(painter, QColor(200, 0, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(10.5, 10.5, 3, 3));
}

// The tray icon: a page with a blue eye; the alternate one lights the eye
// up orange so the two frames are told apart at a glance.
IconDrawing TrayDrawing(bool alternate) {
    return [alternate](QPainter& painter) {
        painter.setPen(QPen(QColor(40, 40, 40), 0.8));
        painter.setBrush(alternate ? QColor(255, 200, 60) : Qt::white);
        painter.drawRect(QRectF(1.5, 1.5, 13, 13));
        painter.setPen(QPen(QColor(110, 110, 110), 0.8));
        for (qreal y = 4; y < 8; y += 1.5) painter.drawLine(QPointF(3.5, y), QPointF(12.5, y));
        const QColor eye = alternate ? QColor(220, 80, 0) : QColor(30, 90, 200);
        painter.setPen(QPen(eye.darker(140), 0.8));
        painter.setBrush(eye);
        painter.drawEllipse(QRectF(5, 8.5, 6, 4.5));
        painter.setBrush(Qt::white);
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(QRectF(7, 9.6, 2, 2));
    };
}

IconDrawing TabImageDrawing(TabImage image) {
    if (image == TabImage::NewData) return DrawNewData;
    if (IsTabMark(image)) return MarkDrawing(TabMarkColor(image));
    return {};
}

}  // namespace

bool IsTabMark(TabImage image) {
    return image >= TabImage::Red && image <= TabImage::Cyan;
}

QColor TabMarkColor(TabImage image) {
    switch (image) {
        case TabImage::Red:
            return QColor(220, 0, 0);
        case TabImage::Green:
            return QColor(0, 170, 0);
        case TabImage::Blue:
            return QColor(0, 70, 230);
        case TabImage::Yellow:
            return QColor(240, 210, 0);
        case TabImage::Purple:
            return QColor(150, 0, 170);
        case TabImage::Cyan:
            return QColor(0, 200, 220);
        default:
            return QColor();
    }
}

const char* TabMarkName(int position) {
    static const char* const kNames[kTabMarkCount] = {"&Red",    "&Green",  "&Blue",
                                                      "&Yellow", "&Purple", "&Cyan"};
    if (position < 0 || position >= kTabMarkCount) return "";
    return kNames[position];
}

TabImage TabMarkAt(int position) {
    if (position < 0 || position >= kTabMarkCount) return TabImage::Blank;
    return static_cast<TabImage>(static_cast<int>(TabImage::Red) + position);
}

QPixmap TabImagePixmap(TabImage image) {
    return RenderDrawing(TabImageDrawing(image), kTabUnits, QSize(kTabImageWidth, kTabImageWidth));
}

QIcon TabImageIcon(TabImage image) {
    return DrawnIcon(kTabUnits, TabImageDrawing(image));
}

QIcon MonitoringIcon() {
    return DrawnIcon(kIconUnits, DrawMonitoring);
}
QIcon StoppedIcon() {
    return DrawnIcon(kIconUnits, DrawStopped);
}
QIcon ApplicationIcon() {
    return QIcon::fromTheme(QString::fromLatin1(kDesktopName), TrayNormalIcon());
}

QIcon TrayNormalIcon() {
    return DrawnIcon(kIconUnits, TrayDrawing(false));
}
QIcon TrayAlternateIcon() {
    return DrawnIcon(kIconUnits, TrayDrawing(true));
}

}  // namespace app_ui
