#include "app/ui/FrameTiling.h"

namespace app_ui {

std::vector<QRect> FullWidthStrips(const QRect& area, int count) {
    std::vector<QRect> strips;
    if (count <= 0 || area.isEmpty()) return strips;
    const int share = area.height() / count;
    for (int i = 0; i < count; ++i) {
        const int top = area.top() + i * share;
        const int bottom = i + 1 == count ? area.bottom() : top + share - 1;
        strips.emplace_back(QPoint(area.left(), top), QPoint(area.right(), bottom));
    }
    return strips;
}

std::vector<QRect> FullHeightStrips(const QRect& area, int count) {
    std::vector<QRect> strips;
    if (count <= 0 || area.isEmpty()) return strips;
    const int share = area.width() / count;
    for (int i = 0; i < count; ++i) {
        const int left = area.left() + i * share;
        const int right = i + 1 == count ? area.right() : left + share - 1;
        strips.emplace_back(QPoint(left, area.top()), QPoint(right, area.bottom()));
    }
    return strips;
}

}  // namespace app_ui
