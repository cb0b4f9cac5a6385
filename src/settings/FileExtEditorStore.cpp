#include "settings/FileExtEditorStore.h"

#include "platform/Registry.h"
#include "settings/RegValueIo.h"
#include "settings/RegistryPaths.h"

namespace settings {

using platform::DWORD;
using platform::ERROR_SUCCESS;
using platform::RegKey;
using platform::RegRoot;

namespace {

constexpr std::u16string_view kEditorsName = u"FileExtEditors";

bool IsUsable(const FileExtEditor& editor) {
    return !editor.extension.empty() && !editor.command.empty() &&
           editor.extension.size() <= FileExtEditorStore::kMaxExtensionChars &&
           editor.command.size() <= FileExtEditorStore::kMaxCommandChars;
}

}  // namespace

std::vector<FileExtEditor> FileExtEditorStore::Load() {
    std::vector<FileExtEditor> editors;
    RegKey key;
    if (key.Open(RegRoot::CurrentUser, reg_paths::kFileExtEditors) != ERROR_SUCCESS) {
        return editors;
    }
    std::u16string name;
    std::vector<std::uint8_t> data;
    for (DWORD index = 0; key.EnumValue(index, name, nullptr, &data) == ERROR_SUCCESS; ++index) {
        FileExtEditor editor{name, TextFromBytes(data)};
        if (IsUsable(editor)) editors.push_back(std::move(editor));
    }
    return editors;
}

bool FileExtEditorStore::Save(const std::vector<FileExtEditor>& editors) {
    platform::RegTransaction transaction;
    RegKey root;
    if (root.Create(RegRoot::CurrentUser, reg_paths::kRoot) != ERROR_SUCCESS) return false;
    root.DeleteTree(kEditorsName);
    RegKey key;
    if (key.Create(root, kEditorsName) != ERROR_SUCCESS) return false;
    bool saved = true;
    for (const FileExtEditor& editor : editors) {
        // The default value has no name; an entry without extension cannot be kept.
        if (editor.extension.empty()) {
            saved = false;
            continue;
        }
        saved &= key.SetString(editor.extension, editor.command) == ERROR_SUCCESS;
    }
    return saved;
}

}  // namespace settings
