#include "view/SearchSettings.h"

#include "platform/Registry.h"
#include "settings/RegValueIo.h"
#include "settings/RegistryPaths.h"

namespace view {
namespace {

constexpr std::u16string_view kFindWhat = u"FindWhat";
constexpr std::u16string_view kReplaceWith = u"ReplaceWith";
constexpr std::u16string_view kMatchCase = u"MatchCase";
constexpr std::u16string_view kWholeWord = u"WholeWord";

}  // namespace

std::u16string SearchSettings::KeyPath(SearchDialogKind kind) {
    std::u16string path(settings::reg_paths::kRoot);
    path += kind == SearchDialogKind::Find ? u"\\Edit\\Find" : u"\\Edit\\Replace";
    return path;
}

SearchSettings SearchSettings::Load(SearchDialogKind kind) {
    SearchSettings settings;
    platform::RegKey key;
    if (key.Open(platform::RegRoot::CurrentUser, KeyPath(kind)) != platform::ERROR_SUCCESS) {
        return settings;
    }
    settings::ReadText(key, kFindWhat, settings.findWhat);
    if (kind == SearchDialogKind::Replace)
        settings::ReadText(key, kReplaceWith, settings.replaceWith);
    settings::ReadFlag(key, kMatchCase, settings.matchCase);
    settings::ReadFlag(key, kWholeWord, settings.wholeWord);
    return settings;
}

bool SearchSettings::Save(SearchDialogKind kind) const {
    platform::RegTransaction group;
    platform::RegKey key;
    if (key.Create(platform::RegRoot::CurrentUser, KeyPath(kind)) != platform::ERROR_SUCCESS) {
        group.Cancel();
        return false;
    }
    settings::WriteText(key, kFindWhat, findWhat);
    if (kind == SearchDialogKind::Replace) settings::WriteText(key, kReplaceWith, replaceWith);
    settings::WriteFlag(key, kMatchCase, matchCase);
    settings::WriteFlag(key, kWholeWord, wholeWord);
    return group.Commit();
}

}  // namespace view
