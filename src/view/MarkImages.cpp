#include "view/MarkImages.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <array>

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

QImage EmptyImage() {
    QImage image(kMarkImageSize, kMarkImageSize, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

void DrawDigit(QImage& image, int digit, int left, int top) {
    const DigitGlyph& glyph = kDigitGlyphs[static_cast<std::size_t>(digit)];
    for (int row = 0; row < static_cast<int>(glyph.size()); ++row) {
        for (int col = 0; col < 5; ++col) {
            if (glyph[static_cast<std::size_t>(row)] & (0x10 >> col)) {
                image.setPixel(left + col, top + row, kDigitColor);
            }
        }
    }
}

QImage DrawNumberedBookmark(int digit) {
    QImage image = EmptyImage();
    {
        QPainter painter(&image);
        painter.setPen(QColor(kNumberedEdge));
        painter.setBrush(QColor(kNumberedFill));
        painter.drawRect(1, 1, kMarkImageSize - 3, kMarkImageSize - 3);
    }
    DrawDigit(image, digit, 4, 3);
    return image;
}

// A ribbon with a notch at its foot, the usual shape of a bookmark.
QImage DrawBookmark() {
    QImage image = EmptyImage();
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
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

QImage DrawMarkImage(int index) {
    if (index < 0 || index >= kMarkImageCount) return {};
    QImage image = index == kBookmarkImage ? DrawBookmark() : DrawNumberedBookmark(index);
    MakeWhiteTransparent(image);
    return image;
}

const QPixmap& MarkImage(int index) {
    static const std::array<QPixmap, kMarkImageCount> images = [] {
        std::array<QPixmap, kMarkImageCount> all;
        for (int i = 0; i < kMarkImageCount; ++i) {
            all[static_cast<std::size_t>(i)] = QPixmap::fromImage(DrawMarkImage(i));
        }
        return all;
    }();
    static const QPixmap none;
    if (index < 0 || index >= kMarkImageCount) return none;
    return images[static_cast<std::size_t>(index)];
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
