#include "app/ui/FontChoice.h"

#include <QFontInfo>
#include <QStringList>
#include <algorithm>
#include <cmath>

#include "view/FontMapping.h"

namespace app_ui {

namespace {

constexpr double kPointsToPixels = 96.0 / 72.0;
constexpr std::int32_t kNormalWeight = 400;
constexpr std::int32_t kBoldWeight = 700;

}  // namespace

QFont FontFromOptions(const settings::Options& options) {
    return view::FontFromLogFont(options.UFont);
}

QFont FontInUse(const QFont& font) {
    QFont used = font;
    used.setFamilies(QStringList{QFontInfo(font).family()});
    return used;
}

settings::LogFont LogFontFromFont(const QFont& font) {
    settings::LogFont logFont;
    int pixels = font.pixelSize();
    if (pixels <= 0) pixels = static_cast<int>(std::lround(font.pointSizeF() * kPointsToPixels));
    logFont.lfHeight = -std::max(pixels, 1);
    logFont.lfWeight = font.bold() ? kBoldWeight : kNormalWeight;
    logFont.lfItalic = font.italic() ? 1 : 0;
    logFont.lfUnderline = font.underline() ? 1 : 0;
    logFont.lfStrikeOut = font.strikeOut() ? 1 : 0;
    logFont.SetFaceName(font.family().toStdU16String());
    return logFont;
}

}  // namespace app_ui
