#include "view/FontMapping.h"

#include <QFontDatabase>
#include <QFontInfo>

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

void ApplySize(QFont& font, int height) {
    if (height < 0) {
        font.setPixelSize(-height);
    } else if (height > 0) {
        font.setPixelSize(height);
    } else {
        font.setPixelSize(-kDefaultPixelHeight);
    }
}

}  // namespace

QFont FontFromLogFont(const settings::LogFont& logFont) {
    const std::u16string face = logFont.FaceName();
    QFont font = BaseFont(QString::fromStdU16String(face));
    // A damaged record's absurd height gives way to the default size.
    const bool sane = logFont.lfHeight >= -kMaxPixelHeight && logFont.lfHeight <= kMaxPixelHeight;
    ApplySize(font, sane ? logFont.lfHeight : kDefaultPixelHeight);
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
