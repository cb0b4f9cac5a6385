#include "settings/FileSetStore.h"

#include "platform/Registry.h"
#include "settings/RegValueIo.h"
#include "settings/RegistryPaths.h"

namespace settings {

using platform::DWORD;
using platform::ERROR_SUCCESS;
using platform::RegKey;
using platform::RegRoot;

namespace {

constexpr std::u16string_view kMemberPrefix = u"File";
constexpr std::u16string_view kFileSetsName = u"File Sets";

// Deletes every set subkey, then the File Sets key itself.
void DeleteAllSets(RegKey& root) {
    RegKey sets;
    if (sets.Open(root, kFileSetsName) == ERROR_SUCCESS) {
        std::vector<std::u16string> names;
        std::u16string name;
        for (DWORD index = 0; sets.EnumKey(index, name) == ERROR_SUCCESS; ++index) {
            names.push_back(name);
        }
        for (const std::u16string& setName : names) sets.DeleteTree(setName);
        sets.Close();
    }
    root.DeleteTree(kFileSetsName);
}

bool WriteSet(RegKey& sets, const FileSet& set) {
    RegKey key;
    if (key.Create(sets, set.name) != ERROR_SUCCESS) return false;
    bool written = true;
    int number = 1;
    for (const std::u16string& path : set.paths) {
        written &= key.SetString(NumberedName(kMemberPrefix, number++), path) == ERROR_SUCCESS;
    }
    return written;
}

}  // namespace

bool FileSetStore::IsValidName(std::u16string_view name) {
    return !name.empty() && name.size() <= kMaxNameChars &&
           name.find(u'\\') == std::u16string_view::npos;
}

std::vector<std::u16string> FileSetStore::EnumNames() {
    std::vector<std::u16string> names;
    RegKey sets;
    if (sets.Open(RegRoot::CurrentUser, reg_paths::kFileSets) != ERROR_SUCCESS) return names;
    std::u16string name;
    for (DWORD index = 0; sets.EnumKey(index, name) == ERROR_SUCCESS; ++index) {
        if (name.size() <= kMaxNameChars) names.push_back(name);
    }
    return names;
}

std::vector<std::u16string> FileSetStore::Load(std::u16string_view name) {
    std::vector<std::u16string> paths;
    if (!IsValidName(name)) return paths;
    RegKey sets;
    RegKey key;
    if (sets.Open(RegRoot::CurrentUser, reg_paths::kFileSets) != ERROR_SUCCESS ||
        key.Open(sets, name) != ERROR_SUCCESS) {
        return paths;
    }
    for (int number = 1;; ++number) {
        const std::u16string valueName = NumberedName(kMemberPrefix, number);
        DWORD size = 0;
        if (key.QueryValue(valueName, nullptr, nullptr, &size) != ERROR_SUCCESS) break;
        std::u16string path;
        if (!ReadText(key, valueName, path) || path.empty()) continue;
        // A cut path would name another file; a path that does not fit is passed over.
        if (path.size() <= kMaxPathChars) paths.push_back(std::move(path));
    }
    return paths;
}

bool FileSetStore::SaveAll(const std::vector<FileSet>& sets) {
    platform::RegTransaction transaction;
    RegKey root;
    if (root.Create(RegRoot::CurrentUser, reg_paths::kRoot) != ERROR_SUCCESS) return false;
    DeleteAllSets(root);
    RegKey setsKey;
    if (setsKey.Create(root, kFileSetsName) != ERROR_SUCCESS) return false;
    bool saved = true;
    for (const FileSet& set : sets) {
        saved &= IsValidName(set.name) && WriteSet(setsKey, set);
    }
    return saved;
}

}  // namespace settings
