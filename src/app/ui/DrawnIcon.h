#pragma once
// Icons drawn by code at the size and pixel ratio they are shown at, so they
// stay sharp on scaled screens where a small bitmap would be stretched. A
// drawing works in a square of design units; at whole multiples of the
// design size its edges fall on whole device pixels.

#include <QIcon>
#include <QPixmap>
#include <functional>

class QPainter;

namespace app_ui {

using IconDrawing = std::function<void(QPainter&)>;

// An icon that renders draw afresh for every size and pixel ratio asked of
// it; disabled and selected forms are made from it as the style makes them.
QIcon DrawnIcon(qreal designSize, IconDrawing draw);

// The drawing in a transparent pixmap of the given device pixels.
QPixmap RenderDrawing(const IconDrawing& draw, qreal designSize, const QSize& pixels);

}  // namespace app_ui
