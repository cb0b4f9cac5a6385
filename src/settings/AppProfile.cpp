#include "settings/AppProfile.h"

#include "platform/Registry.h"
#include "settings/RegValueIo.h"
#include "settings/RegistryPaths.h"

namespace settings {

using platform::ERROR_SUCCESS;
using platform::RegKey;
using platform::RegRoot;

namespace {

constexpr std::u16string_view kRecentPrefix = u"File";
constexpr std::u16string_view kRecentListName = u"Recent File List";

std::uint32_t ReadProfileNumber(std::u16string_view keyPath, std::u16string_view name,
                                std::uint32_t fallback) {
    RegKey key;
    std::uint32_t value = fallback;
    if (key.Open(RegRoot::CurrentUser, keyPath) == ERROR_SUCCESS) ReadDword(key, name, value);
    return value;
}

bool WriteProfileNumber(std::u16string_view keyPath, std::u16string_view name,
                        std::uint32_t value) {
    RegKey key;
    if (key.Create(RegRoot::CurrentUser, keyPath) != ERROR_SUCCESS) return false;
    return key.SetDWORD(name, value) == ERROR_SUCCESS;
}

}  // namespace

std::vector<std::u16string> AppProfile::LoadRecentFiles() {
    std::vector<std::u16string> paths;
    RegKey key;
    if (key.Open(RegRoot::CurrentUser, reg_paths::kProfileRecentFiles) != ERROR_SUCCESS) {
        return paths;
    }
    for (int number = 1; number <= kMaxRecentFiles; ++number) {
        std::u16string path;
        if (ReadText(key, NumberedName(kRecentPrefix, number), path) && !path.empty()) {
            paths.push_back(std::move(path));
        }
    }
    return paths;
}

bool AppProfile::SaveRecentFiles(const std::vector<std::u16string>& paths) {
    platform::RegTransaction transaction;
    RegKey profile;
    if (profile.Create(RegRoot::CurrentUser, reg_paths::kProfile) != ERROR_SUCCESS) return false;
    profile.DeleteTree(kRecentListName);
    RegKey key;
    if (key.Create(profile, kRecentListName) != ERROR_SUCCESS) return false;
    bool saved = true;
    int number = 1;
    for (const std::u16string& path : paths) {
        if (path.empty()) continue;
        if (number > kMaxRecentFiles) break;
        saved &= key.SetString(NumberedName(kRecentPrefix, number++), path) == ERROR_SUCCESS;
    }
    return saved;
}

std::uint32_t AppProfile::PreviewPages() {
    return ReadProfileNumber(reg_paths::kProfileSettings, u"PreviewPages", 0);
}

bool AppProfile::SetPreviewPages(std::uint32_t pages) {
    return WriteProfileNumber(reg_paths::kProfileSettings, u"PreviewPages", pages);
}

bool AppProfile::ShowQTour() {
    return ReadProfileNumber(reg_paths::kProfileOptions, u"ShowQTour", 1) != 0;
}

bool AppProfile::SetShowQTour(bool show) {
    return WriteProfileNumber(reg_paths::kProfileOptions, u"ShowQTour", show ? 1 : 0);
}

std::uint32_t AppProfile::QTourID() {
    return ReadProfileNumber(reg_paths::kProfileOptions, u"QTourID", 0);
}

bool AppProfile::SetQTourID(std::uint32_t id) {
    return WriteProfileNumber(reg_paths::kProfileOptions, u"QTourID", id);
}

}  // namespace settings
