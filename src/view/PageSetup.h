#pragma once
// The page margins used for printing, kept in the store. Margins are in
// hundredths of a millimetre.

#include <QRect>

#include <string>

namespace view {

struct PageSetup {
    static constexpr int kDefaultMargin = 1000;  // 10 mm
    // Larger stored values are taken as damaged and replaced by the default.
    static constexpr int kMaxMargin = 20000;  // 20 cm

    int leftMargin = kDefaultMargin;
    int rightMargin = kDefaultMargin;
    int topMargin = kDefaultMargin;
    int bottomMargin = kDefaultMargin;

    static std::u16string KeyPath();
    // Missing, unreadable or out-of-range values keep their defaults.
    static PageSetup Load();
    // Writes the four margins as one group; false when the store refused them.
    bool Save() const;

    // The part of a page left inside the margins, in the device's pixels.
    // Margins that would leave nothing to print are ignored, so a page always
    // has room for text.
    QRect PrintArea(const QRect& page, int dpiX, int dpiY) const;

    bool operator==(const PageSetup&) const = default;
};

}  // namespace view
