#include "view/SearchSettings.h"

#include "app/RegValueIo.h"
#include "app/RegistryPaths.h"
#include "platform/Registry.h"

namespace view {
namespace {

constexpr std::u16string_view kFindWhat = u"FindWhat";
constexpr std::u16string_view kReplaceWith = u"ReplaceWith";
constexpr std::u16string_view kMatchCase = u"MatchCase";
constexpr std::u16string_view kWholeWord = u"WholeWord";

}  // namespace

std::u16string SearchSettings::KeyPath(SearchDialogKind kind) {
    std::u16string path(app::reg_paths::kRoot);
    path += kind == SearchDialogKind::Find ? u"\\Edit\\Find" : u"\\Edit\\Replace";
    return path;
}

SearchSettings SearchSettings::Load(SearchDialogKind kind) {
    SearchSettings settings;
    platform::RegKey key;
    if (key.Open(platform::RegRoot::CurrentUser, KeyPath(kind)) != platform::ERROR_SUCCESS) {
        return settings;
    }
    app::ReadText(key, kFindWhat, settings.findWhat);
    if (kind == SearchDialogKind::Replace) app::ReadText(key, kReplaceWith, settings.replaceWith);
    app::ReadFlag(key, kMatchCase, settings.matchCase);
    app::ReadFlag(key, kWholeWord, settings.wholeWord);
    return settings;
}

bool SearchSettings::Save(SearchDialogKind kind) const {
    platform::RegTransaction group;
    platform::RegKey key;
    if (key.Create(platform::RegRoot::CurrentUser, KeyPath(kind)) != platform::ERROR_SUCCESS) {
        group.Cancel();
        return false;
    }
    app::WriteText(key, kFindWhat, findWhat);
    if (kind == SearchDialogKind::Replace) app::WriteText(key, kReplaceWith, replaceWith);
    app::WriteFlag(key, kMatchCase, matchCase);
    app::WriteFlag(key, kWholeWord, wholeWord);
    return group.Commit();
}

}  // namespace view
