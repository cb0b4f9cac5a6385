#include "view/PageSetup.h"

#include <algorithm>
#include <cmath>

#include "platform/Registry.h"
#include "settings/RegValueIo.h"
#include "settings/RegistryPaths.h"

namespace view {
namespace {

constexpr std::u16string_view kLeftMargin = u"LeftMargin";
constexpr std::u16string_view kRightMargin = u"RightMargin";
constexpr std::u16string_view kTopMargin = u"TopMargin";
constexpr std::u16string_view kBottomMargin = u"BottomMargin";

void ReadMargin(const platform::RegKey& key, std::u16string_view name, int& margin) {
    std::int32_t value = 0;
    if (settings::ReadInt(key, name, value) && value >= 0 && value <= PageSetup::kMaxMargin) {
        margin = value;
    }
}

int ToPixels(int hundredthsOfMm, int dpi) {
    const int margin = std::clamp(hundredthsOfMm, 0, PageSetup::kMaxMargin);
    return static_cast<int>(std::lround(margin / 2540.0 * dpi));
}

}  // namespace

std::u16string PageSetup::KeyPath() {
    std::u16string path(settings::reg_paths::kRoot);
    path += u"\\Edit\\PageSetup";
    return path;
}

PageSetup PageSetup::Load() {
    PageSetup setup;
    platform::RegKey key;
    if (key.Open(platform::RegRoot::CurrentUser, KeyPath()) != platform::ERROR_SUCCESS) {
        return setup;
    }
    ReadMargin(key, kLeftMargin, setup.leftMargin);
    ReadMargin(key, kRightMargin, setup.rightMargin);
    ReadMargin(key, kTopMargin, setup.topMargin);
    ReadMargin(key, kBottomMargin, setup.bottomMargin);
    return setup;
}

bool PageSetup::Save() const {
    platform::RegTransaction group;
    platform::RegKey key;
    if (key.Create(platform::RegRoot::CurrentUser, KeyPath()) != platform::ERROR_SUCCESS) {
        group.Cancel();
        return false;
    }
    settings::WriteInt(key, kLeftMargin, leftMargin);
    settings::WriteInt(key, kRightMargin, rightMargin);
    settings::WriteInt(key, kTopMargin, topMargin);
    settings::WriteInt(key, kBottomMargin, bottomMargin);
    return group.Commit();
}

QRect PageSetup::PrintArea(const QRect& page, int dpiX, int dpiY) const {
    const QRect area = page.adjusted(ToPixels(leftMargin, dpiX), ToPixels(topMargin, dpiY),
                                     -ToPixels(rightMargin, dpiX), -ToPixels(bottomMargin, dpiY));
    return area.isValid() ? area : page;
}

}  // namespace view
