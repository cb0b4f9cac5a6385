#include "settings/DocPositionStore.h"

#include <vector>

#include "platform/Registry.h"
#include "settings/ExactPathName.h"
#include "settings/RegistryPaths.h"

namespace settings {

using platform::ERROR_SUCCESS;
using platform::RegKey;
using platform::RegRoot;

std::u16string DocPositionStore::ValueName(std::u16string_view pathName, bool isCapture) {
    return isCapture ? std::u16string(kCaptureName) : ExactPathName(pathName);
}

bool DocPositionStore::Load(std::u16string_view valueName, WindowRect& rect) {
    // An empty name would address the key's default value, which is no document.
    if (valueName.empty()) return false;
    RegKey key;
    if (key.Open(RegRoot::CurrentUser, reg_paths::kDocsPos) != ERROR_SUCCESS) return false;
    std::vector<std::uint8_t> bytes;
    if (key.QueryBinary(valueName, bytes) != ERROR_SUCCESS) return false;
    const auto stored = WindowRect::FromBytes(bytes);
    if (!stored) return false;
    rect = *stored;
    return true;
}

bool DocPositionStore::Save(std::u16string_view valueName, const WindowRect& rect) {
    if (valueName.empty()) return false;
    RegKey key;
    if (key.Create(RegRoot::CurrentUser, reg_paths::kDocsPos) != ERROR_SUCCESS) return false;
    const auto bytes = rect.ToBytes();
    return key.SetBinary(valueName, bytes.data(), static_cast<platform::DWORD>(bytes.size())) ==
           ERROR_SUCCESS;
}

bool DocPositionStore::LoadFor(std::u16string_view pathName, bool isCapture, WindowRect& rect) {
    if (Load(ValueName(pathName, isCapture), rect)) return true;
    if (isCapture) return false;
    RegKey key;
    if (key.Open(RegRoot::CurrentUser, reg_paths::kDocsPos) != ERROR_SUCCESS) return false;
    return HasBarePathValue(key, pathName) && Load(pathName, rect);
}

bool DocPositionStore::SaveFor(std::u16string_view pathName, bool isCapture,
                               const WindowRect& rect) {
    if (!Save(ValueName(pathName, isCapture), rect)) return false;
    if (isCapture) return true;
    RegKey key;
    if (key.Open(RegRoot::CurrentUser, reg_paths::kDocsPos) != ERROR_SUCCESS) return true;
    if (HasBarePathValue(key, pathName)) key.DeleteValue(pathName);
    return true;
}

}  // namespace settings
