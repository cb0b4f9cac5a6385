#include "view/FontMapping.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace view {

namespace {

constexpr int kMaxPixelHeight = 400;
constexpr int kDefaultPixelHeight = -12;

QFont BaseFont(const QString& face) {
    if (!face.isEmpty() && QFontDatabase::hasFamily(face) && QFontDatabase::isFixedPitch(face)) {
        return QFont(face);
    }
    return QFontDatabase::systemFont(QFontDatabase::FixedFont);
}

void ApplySize(QFont& font, int height, int logicalDpi) {
    const int pixels = height != 0 ? std::abs(height) : -kDefaultPixelHeight;
    const int dpi = logicalDpi > 0 ? logicalDpi : kStoredFontDpi;
    font.setPixelSize(std::max(
        1, static_cast<int>(std::lround(static_cast<double>(pixels) * dpi / kStoredFontDpi))));
}

}  // namespace

QFont FontFromLogFont(const settings::LogFont& logFont, int logicalDpi) {
    const std::u16string face = logFont.FaceName();
    QFont font = BaseFont(QString::fromStdU16String(face));
    // A damaged record's absurd height gives way to the default size.
    const bool sane = logFont.lfHeight >= -kMaxPixelHeight && logFont.lfHeight <= kMaxPixelHeight;
    ApplySize(font, sane ? logFont.lfHeight : kDefaultPixelHeight, logicalDpi);
    font.setWeight(logFont.lfWeight >= 600 ? QFont::Bold : QFont::Normal);
    font.setItalic(logFont.lfItalic != 0);
    font.setUnderline(logFont.lfUnderline != 0);
    font.setStrikeOut(logFont.lfStrikeOut != 0);
    font.setFixedPitch(true);
    font.setStyleHint(QFont::TypeWriter);
    font.setKerning(false);
    return font;
}

}  // namespace view
