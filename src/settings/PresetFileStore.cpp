#include "settings/PresetFileStore.h"

#include "platform/Registry.h"
#include "settings/RegValueIo.h"

namespace settings::preset_files {

using platform::DWORD;
using platform::ERROR_SUCCESS;
using platform::RegKey;
using platform::RegRoot;

namespace {

constexpr std::u16string_view kValuePrefix = u"File";
constexpr DWORD kBufferBytes = 2048;

}  // namespace

std::vector<std::u16string> Load(std::u16string_view keyPath) {
    std::vector<std::u16string> paths;
    RegKey key;
    if (key.Open(RegRoot::CurrentUser, keyPath) != ERROR_SUCCESS) return paths;
    for (int number = 1;; ++number) {
        const std::u16string name = NumberedName(kValuePrefix, number);
        DWORD size = 0;
        if (key.QueryValue(name, nullptr, nullptr, &size) != ERROR_SUCCESS) break;
        if (size > kBufferBytes) break;
        std::u16string path;
        if (!ReadText(key, name, path)) break;
        if (!path.empty()) paths.push_back(std::move(path));
    }
    return paths;
}

bool Save(std::u16string_view keyPath, const std::vector<std::u16string>& paths) {
    platform::RegTransaction transaction;
    RegKey root;
    if (root.Open(RegRoot::CurrentUser, keyPath) == ERROR_SUCCESS) {
        root.Close();
        RegKey parent;
        const std::size_t cut = keyPath.rfind(u'\\');
        if (cut == std::u16string_view::npos ||
            parent.Open(RegRoot::CurrentUser, keyPath.substr(0, cut)) != ERROR_SUCCESS ||
            parent.DeleteTree(keyPath.substr(cut + 1)) != ERROR_SUCCESS) {
            transaction.Cancel();
            return false;
        }
    }
    RegKey key;
    if (key.Create(RegRoot::CurrentUser, keyPath) != ERROR_SUCCESS) {
        transaction.Cancel();
        return false;
    }
    bool saved = true;
    int number = 1;
    for (const std::u16string& path : paths) {
        if (path.empty()) continue;
        saved &= key.SetString(NumberedName(kValuePrefix, number++), path) == ERROR_SUCCESS;
    }
    if (!saved) {
        transaction.Cancel();
        return false;
    }
    return transaction.Commit();
}

}  // namespace settings::preset_files
