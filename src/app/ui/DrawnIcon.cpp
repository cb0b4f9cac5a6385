#include "app/ui/DrawnIcon.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace app_ui {

namespace {

class CDrawnIconEngine : public QIconEngine {
public:
    CDrawnIconEngine(qreal designSize, IconDrawing draw)
        : designSize_(designSize), draw_(std::move(draw)) {}

    // Asked with the device size: QIcon multiplies by the pixel ratio first.
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        QPixmap pixmap = RenderDrawing(draw_, designSize_, size);
        if (mode == QIcon::Normal || mode == QIcon::Active || !qApp) return pixmap;
        QStyleOption option;
        option.palette = QApplication::palette();
        return QApplication::style()->generatedIconPixmap(mode, pixmap, &option);
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap pixmap = this->pixmap(rect.size() * ratio, mode, state);
        pixmap.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect, pixmap);
    }

    QIconEngine* clone() const override { return new CDrawnIconEngine(designSize_, draw_); }
    QString key() const override { return QStringLiteral("ostra-tarvik-drawn"); }

private:
    qreal designSize_;
    IconDrawing draw_;
};

}  // namespace

QPixmap RenderDrawing(const IconDrawing& draw, qreal designSize, const QSize& pixels) {
    QPixmap pixmap(pixels.expandedTo(QSize(1, 1)));
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(pixmap.width() / designSize, pixmap.height() / designSize);
    if (draw) draw(painter);
    return pixmap;
}

QIcon DrawnIcon(qreal designSize, IconDrawing draw) {
    return QIcon(new CDrawnIconEngine(designSize, std::move(draw)));
}

}  // namespace app_ui
