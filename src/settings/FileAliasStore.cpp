#include "settings/FileAliasStore.h"

#include "platform/Registry.h"
#include "settings/ExactPathName.h"
#include "settings/RegValueIo.h"
#include "settings/RegistryPaths.h"

namespace settings {

using platform::ERROR_SUCCESS;
using platform::RegKey;
using platform::RegRoot;

bool FileAliasStore::Load(std::u16string_view path, std::u16string& alias) {
    if (path.empty()) return false;
    RegKey key;
    if (key.Open(RegRoot::CurrentUser, reg_paths::kFileAlias) != ERROR_SUCCESS) return false;
    std::u16string stored;
    if (!ReadText(key, ExactPathName(path), stored) &&
        (!HasBarePathValue(key, path) || !ReadText(key, path, stored))) {
        return false;
    }
    if (stored.empty()) return false;
    alias = std::move(stored);
    return true;
}

bool FileAliasStore::Save(std::u16string_view path, std::u16string_view alias) {
    // An empty name would address the key's default value, which is no file.
    if (path.empty()) return false;
    RegKey key;
    if (key.Create(RegRoot::CurrentUser, reg_paths::kFileAlias) != ERROR_SUCCESS) return false;
    if (key.SetString(ExactPathName(path), alias) != ERROR_SUCCESS) return false;
    if (HasBarePathValue(key, path)) key.DeleteValue(path);
    return true;
}

}  // namespace settings
