#include "app/ui/FrameIcons.h"

#include <QPainter>
#include <QPainterPath>

namespace app_ui {

namespace {

constexpr int kSmallIcon = 16;
constexpr int kTrayIcon = 32;

QPixmap TransparentPixmap(int width, int height) {
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// A small round dot in the mark's colour with a darker rim, readable on
// light and dark tab backgrounds.
QPixmap MarkPixmap(const QColor& color) {
    QPixmap pixmap = TransparentPixmap(kTabImageWidth, kTabImageWidth);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(color.darker(160), 1));
    painter.setBrush(color);
    painter.drawEllipse(QRectF(1, 1, kTabImageWidth - 2, kTabImageWidth - 2));
    return pixmap;
}

// An orange star-like burst: "something new arrived here".
QPixmap NewDataPixmap() {
    QPixmap pixmap = TransparentPixmap(kTabImageWidth, kTabImageWidth);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(150, 60, 0), 1));
    painter.setBrush(QColor(255, 140, 0));
    painter.drawRect(QRectF(1.5, 1.5, kTabImageWidth - 3, kTabImageWidth - 3));
    painter.setPen(QPen(Qt::white, 1.5));
    painter.drawLine(QPointF(5, 2.5), QPointF(5, 5.5));
    painter.drawPoint(QPointF(5, 7.5));
    return pixmap;
}

// A document page with text lines; the accent colour tells the state.
QPixmap PagePixmap(int size, const QColor& accent) {
    QPixmap pixmap = TransparentPixmap(size, size);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal unit = size / 16.0;
    painter.scale(unit, unit);
    painter.setPen(QPen(QColor(60, 60, 60), 1));
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(2.5, 1.5, 9, 13));
    painter.setPen(QPen(QColor(120, 120, 120), 1));
    for (qreal y = 4.5; y < 13; y += 2.5) painter.drawLine(QPointF(4, y), QPointF(10, y));
    painter.setPen(QPen(accent.darker(150), 1));
    painter.setBrush(accent);
    painter.drawEllipse(QRectF(8.5, 8.5, 7, 7));
    return pixmap;
}

QPixmap MonitoringPixmap() {
    QPixmap pixmap = PagePixmap(kSmallIcon, QColor(0, 170, 0));
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    QPainterPath play;
    play.moveTo(11, 10);
    play.lineTo(14, 12);
    play.lineTo(11, 14);
    play.closeSubpath();
    painter.drawPath(play);
    return pixmap;
}

QPixmap StoppedPixmap() {
    QPixmap pixmap = PagePixmap(kSmallIcon, QColor(200, 0, 0));
    QPainter painter(&pixmap);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(10.5, 10.5, 3, 3));
    return pixmap;
}

// The tray icon: a page with a blue eye; the alternate one lights the eye
// up orange so the two frames are told apart at a glance.
QPixmap TrayPixmap(bool alternate) {
    QPixmap pixmap = TransparentPixmap(kTrayIcon, kTrayIcon);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(kTrayIcon / 16.0, kTrayIcon / 16.0);
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
    return pixmap;
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
    if (image == TabImage::NewData) return NewDataPixmap();
    if (IsTabMark(image)) return MarkPixmap(TabMarkColor(image));
    return TransparentPixmap(kTabImageWidth, kTabImageWidth);
}

QIcon TabImageIcon(TabImage image) {
    return QIcon(TabImagePixmap(image));
}

QIcon MonitoringIcon() {
    return QIcon(MonitoringPixmap());
}
QIcon StoppedIcon() {
    return QIcon(StoppedPixmap());
}
QIcon ApplicationIcon() {
    return QIcon::fromTheme(QString::fromLatin1(kDesktopName), TrayNormalIcon());
}

QIcon TrayNormalIcon() {
    return QIcon(TrayPixmap(false));
}
QIcon TrayAlternateIcon() {
    return QIcon(TrayPixmap(true));
}

}  // namespace app_ui
