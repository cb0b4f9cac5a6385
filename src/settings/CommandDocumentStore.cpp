#include "settings/CommandDocumentStore.h"

#include "platform/Registry.h"
#include "settings/ExactPathName.h"
#include "settings/RegValueIo.h"
#include "settings/RegistryPaths.h"

namespace settings {

using platform::ERROR_SUCCESS;
using platform::RegKey;
using platform::RegRoot;

CommandDocumentChoice CommandDocumentStore::Load(std::u16string_view name) {
    CommandDocumentChoice choice;
    if (name.empty()) return choice;
    RegKey folders;
    if (folders.Open(RegRoot::CurrentUser, reg_paths::kCommandFolders) == ERROR_SUCCESS) {
        ReadText(folders, ExactPathName(name), choice.folder);
    }
    RegKey restarts;
    if (restarts.Open(RegRoot::CurrentUser, reg_paths::kCommandRestarts) == ERROR_SUCCESS) {
        ReadFlag(restarts, ExactPathName(name), choice.restart);
    }
    return choice;
}

bool CommandDocumentStore::Save(std::u16string_view name, const CommandDocumentChoice& choice) {
    if (name.empty()) return false;
    RegKey folders;
    RegKey restarts;
    return folders.Create(RegRoot::CurrentUser, reg_paths::kCommandFolders) == ERROR_SUCCESS &&
           folders.SetString(ExactPathName(name), choice.folder) == ERROR_SUCCESS &&
           restarts.Create(RegRoot::CurrentUser, reg_paths::kCommandRestarts) == ERROR_SUCCESS &&
           restarts.SetDWORD(ExactPathName(name), choice.restart ? 1 : 0) == ERROR_SUCCESS;
}

}  // namespace settings
