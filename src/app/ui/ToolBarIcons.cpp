#include "app/ui/ToolBarIcons.h"

#include <QPainter>
#include <QPainterPath>

#include "app/ui/DrawnIcon.h"

namespace app_ui {

namespace {

// A 24-unit square, the usual toolbar size, so edges on half units are
// whole pixels at 100 % and 200 %.
constexpr qreal kUnits = 24;

void Outline(QPainter& painter, const QColor& fill) {
    painter.setPen(QPen(fill.darker(170), 1));
    painter.setBrush(fill);
}

void DrawOpen(QPainter& painter) {
    Outline(painter, QColor(232, 184, 64));
    QPainterPath back;
    back.moveTo(2.5, 4.5);
    back.lineTo(9.5, 4.5);
    back.lineTo(11.5, 6.5);
    back.lineTo(20.5, 6.5);
    back.lineTo(20.5, 19.5);
    back.lineTo(2.5, 19.5);
    back.closeSubpath();
    painter.drawPath(back);
    Outline(painter, QColor(250, 218, 110));
    QPainterPath front;
    front.moveTo(2.5, 19.5);
    front.lineTo(6.5, 10.5);
    front.lineTo(22.5, 10.5);
    front.lineTo(20.5, 19.5);
    front.closeSubpath();
    painter.drawPath(front);
}

void DrawStart(QPainter& painter) {
    Outline(painter, QColor(40, 170, 60));
    QPainterPath play;
    play.moveTo(6.5, 3.5);
    play.lineTo(19.5, 12);
    play.lineTo(6.5, 20.5);
    play.closeSubpath();
    painter.drawPath(play);
}

void DrawPause(QPainter& painter) {
    Outline(painter, QColor(60, 110, 210));
    painter.drawRect(QRectF(5.5, 4.5, 5, 15));
    painter.drawRect(QRectF(13.5, 4.5, 5, 15));
}

// A circular arrow.
void DrawReload(QPainter& painter) {
    const QColor color(30, 140, 150);
    painter.setPen(QPen(color, 2.5, Qt::SolidLine, Qt::FlatCap));
    painter.setBrush(Qt::NoBrush);
    const QRectF circle(5, 5, 14, 14);
    painter.drawArc(circle, 60 * 16, 290 * 16);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    QPainterPath head;
    head.moveTo(12.5, 1.5);
    head.lineTo(18.5, 5.5);
    head.lineTo(12.5, 9.5);
    head.closeSubpath();
    painter.drawPath(head);
}

// A page with text, struck through in red.
void DrawClearAll(QPainter& painter) {
    painter.setPen(QPen(QColor(90, 90, 90), 1));
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(4.5, 2.5, 13, 19));
    painter.setPen(QPen(QColor(140, 140, 140), 1));
    for (qreal y = 6.5; y < 19; y += 3) painter.drawLine(QPointF(7, y), QPointF(15, y));
    painter.setPen(QPen(QColor(210, 30, 30), 2.5, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(9, 9), QPointF(20, 20));
    painter.drawLine(QPointF(20, 9), QPointF(9, 20));
}

// An arrow down onto a bar: to the end.
void DrawGoToEnd(QPainter& painter) {
    Outline(painter, QColor(50, 90, 180));
    QPainterPath arrow;
    arrow.moveTo(9.5, 2.5);
    arrow.lineTo(14.5, 2.5);
    arrow.lineTo(14.5, 10.5);
    arrow.lineTo(19.5, 10.5);
    arrow.lineTo(12, 18);
    arrow.lineTo(4.5, 10.5);
    arrow.lineTo(9.5, 10.5);
    arrow.closeSubpath();
    painter.drawPath(arrow);
    painter.drawRect(QRectF(4.5, 19.5, 15, 2));
}

struct Entry {
    const char* themeName;
    void (*draw)(QPainter&);
};

Entry EntryOf(ToolBarImage image) {
    switch (image) {
        case ToolBarImage::Open:
            return {"document-open", DrawOpen};
        case ToolBarImage::Start:
            return {"media-playback-start", DrawStart};
        case ToolBarImage::Pause:
            return {"media-playback-pause", DrawPause};
        case ToolBarImage::Reload:
            return {"view-refresh", DrawReload};
        case ToolBarImage::ClearAll:
            return {"edit-clear-all", DrawClearAll};
        case ToolBarImage::GoToEnd:
            return {"go-bottom", DrawGoToEnd};
    }
    return {"", nullptr};
}

}  // namespace

QIcon DrawnToolBarIcon(ToolBarImage image) {
    return DrawnIcon(kUnits, EntryOf(image).draw);
}

QIcon ToolBarIcon(ToolBarImage image) {
    const QString name = QString::fromLatin1(EntryOf(image).themeName);
    if (QIcon::hasThemeIcon(name)) return QIcon::fromTheme(name);
    return DrawnToolBarIcon(image);
}

}  // namespace app_ui
