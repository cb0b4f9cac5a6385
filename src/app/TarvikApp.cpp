#include "app/TarvikApp.h"

#include <utility>

#include "app/BoundPairs.h"
#include "app/DocPositionStore.h"
#include "app/FileAliasStore.h"
#include "app/OptionsStore.h"

namespace app {

bool CTarvikApp::LoadOnlyOneInstance() {
    options_.OnlyOneInstance = ReadOnlyOneInstance();
    return options_.OnlyOneInstance;
}

bool CTarvikApp::LoadOptions(bool& maximized, WindowRect& rect) {
    LoadOptionValues(options_, maximized, rect);
    // The highlight filters load here.
    // The include and exclude filters load here, moving their older subkeys to the new ones.
    LoadFileExtEditors();
    // The stop-updating notification settings load here.
    // The auto-open folder and pattern pairs load here.
    return true;
}

bool CTarvikApp::SaveOptions(std::uint32_t mask, bool maximized, const WindowRect* rect) const {
    return SaveOptionGroups(options_, mask, maximized, rect);
}

bool CTarvikApp::LoadDocPosition(std::u16string_view pathName, bool isCapture,
                                 WindowRect& rect) const {
    return DocPositionStore::Load(DocPositionStore::ValueName(pathName, isCapture), rect);
}

bool CTarvikApp::SaveDocPosition(std::u16string_view pathName, bool isCapture,
                                 const WindowRect& rect) const {
    return DocPositionStore::Save(DocPositionStore::ValueName(pathName, isCapture), rect);
}

bool CTarvikApp::LoadAlias(std::u16string_view path, std::u16string& alias) const {
    return FileAliasStore::Load(path, alias);
}

bool CTarvikApp::SaveAlias(std::u16string_view path, std::u16string_view alias) const {
    return FileAliasStore::Save(path, alias);
}

std::vector<std::u16string> CTarvikApp::EnumFileSets() const {
    return FileSetStore::EnumNames();
}

std::vector<std::u16string> CTarvikApp::LoadFileSet(std::u16string_view name) const {
    return FileSetStore::Load(name);
}

bool CTarvikApp::SaveFileSets(const std::vector<FileSet>& sets) const {
    return FileSetStore::SaveAll(sets);
}

void CTarvikApp::LoadFileExtEditors() {
    fileExtEditors_ = FileExtEditorStore::Load();
}

bool CTarvikApp::SaveFileExtEditors() const {
    return FileExtEditorStore::Save(fileExtEditors_);
}

void CTarvikApp::SetFileExtEditors(std::vector<FileExtEditor> editors) {
    fileExtEditors_ = std::move(editors);
}

void CTarvikApp::ParseBoundPairs(std::u16string_view text) {
    BoundPairs pairs = app::ParseBoundPairs(text);
    options_.LeftBounds = std::move(pairs.left);
    options_.RightBounds = std::move(pairs.right);
}

}  // namespace app
