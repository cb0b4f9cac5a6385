#include "view/MarkImages.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>
#include <vector>

#include "core/LineFlagBits.h"

namespace view {
namespace {

// Digits as 5x7 dot patterns, one row per entry, the leftmost dot in bit 4.
// Dots stay crisp at this size where a scaled font would blur.
using DigitGlyph = std::array<std::uint8_t, 7>;
constexpr std::array<DigitGlyph, 10> kDigitGlyphs{{
    {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E},  // 0
    {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E},  // 1
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F},  // 2
    {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E},  // 3
    {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02},  // 4
    {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E},  // 5
    {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E},  // 6
    {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08},  // 7
    {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E},  // 8
    {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C},  // 9
}};

constexpr QRgb kNumberedFill = qRgb(0, 0, 160);
constexpr QRgb kNumberedEdge = qRgb(0, 0, 96);
// Not pure white: white pixels are the transparent ones.
constexpr QRgb kDigitColor = qRgb(255, 255, 176);
constexpr QRgb kBookmarkFill = qRgb(0, 128, 255);
constexpr QRgb kBookmarkEdge = qRgb(0, 64, 160);

// Drawn in image pixels of 13 x 13 units scaled to the device pixel ratio,
// without antialiasing, so every edge is sharp.
QImage EmptyImage(qreal scale) {
    const int side = static_cast<int>(std::ceil(kMarkImageSize * scale));
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

void DrawDigit(QPainter& painter, int digit, int left, int top) {
    const DigitGlyph& glyph = kDigitGlyphs[static_cast<std::size_t>(digit)];
    for (int row = 0; row < static_cast<int>(glyph.size()); ++row) {
        for (int col = 0; col < 5; ++col) {
            if (glyph[static_cast<std::size_t>(row)] & (0x10 >> col)) {
                painter.fillRect(QRectF(left + col, top + row, 1, 1), QColor(kDigitColor));
            }
        }
    }
}

QImage DrawNumberedBookmark(int digit, qreal scale) {
    QImage image = EmptyImage(scale);
    QPainter painter(&image);
    painter.scale(scale, scale);
    painter.fillRect(QRectF(1, 1, kMarkImageSize - 2, kMarkImageSize - 2), QColor(kNumberedEdge));
    painter.fillRect(QRectF(2, 2, kMarkImageSize - 4, kMarkImageSize - 4), QColor(kNumberedFill));
    DrawDigit(painter, digit, 4, 3);
    return image;
}

// A ribbon with a notch at its foot, the usual shape of a bookmark.
QImage DrawBookmark(qreal scale) {
    QImage image = EmptyImage(scale);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.scale(scale, scale);
    QPainterPath ribbon;
    ribbon.moveTo(3, 1);
    ribbon.lineTo(10, 1);
    ribbon.lineTo(10, 12);
    ribbon.lineTo(6.5, 8.5);
    ribbon.lineTo(3, 12);
    ribbon.closeSubpath();
    painter.setPen(QColor(kBookmarkEdge));
    painter.setBrush(QColor(kBookmarkFill));
    painter.drawPath(ribbon);
    return image;
}

// Anything the painter left pure white is background.
void MakeWhiteTransparent(QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == qRgb(255, 255, 255)) image.setPixel(x, y, qRgba(0, 0, 0, 0));
        }
    }
}

}  // namespace

QImage DrawMarkImage(int index, qreal devicePixelRatio) {
    if (index < 0 || index >= kMarkImageCount) return {};
    const qreal scale = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    QImage image =
        index == kBookmarkImage ? DrawBookmark(scale) : DrawNumberedBookmark(index, scale);
    MakeWhiteTransparent(image);
    image.setDevicePixelRatio(scale);
    return image;
}

// Each set is drawn once, the first time a screen of its ratio shows a mark.
const QPixmap& MarkImage(int index, qreal devicePixelRatio) {
    using ImageSet = std::array<QPixmap, kMarkImageCount>;
    static std::vector<std::pair<qreal, ImageSet>> sets;
    static const QPixmap none;
    if (index < 0 || index >= kMarkImageCount) return none;
    auto set = std::find_if(sets.begin(), sets.end(),
                            [&](const auto& entry) { return entry.first == devicePixelRatio; });
    if (set == sets.end()) {
        ImageSet images;
        for (int i = 0; i < kMarkImageCount; ++i) {
            images[static_cast<std::size_t>(i)] =
                QPixmap::fromImage(DrawMarkImage(i, devicePixelRatio));
        }
        sets.emplace_back(devicePixelRatio, std::move(images));
        set = std::prev(sets.end());
    }
    return set->second[static_cast<std::size_t>(index)];
}

int MarkImageForFlags(std::uint32_t flags) {
    for (int n = 1; n < core::kNumberedBookmarkCount; ++n) {
        if (flags & core::NumberedBookmarkFlag(n)) return n;
    }
    if (flags & core::NumberedBookmarkFlag(0)) return 0;
    if (flags & core::kBookmarkFlag) return kBookmarkImage;
    return -1;
}

}  // namespace view
