#include "settings/StopUpdatingSettings.h"

#include "platform/Registry.h"
#include "settings/RegValueIo.h"
#include "settings/RegistryPaths.h"

namespace settings {

using platform::DWORD;
using platform::ERROR_SUCCESS;
using platform::RegKey;
using platform::RegRoot;

namespace {

constexpr std::u16string_view kFilePrefix = u"File";

// A listed path: present, more than its terminator, and within the buffer.
bool ReadListedFile(const RegKey& key, const std::u16string& name, std::u16string& path) {
    DWORD size = 0;
    if (key.QueryValue(name, nullptr, nullptr, &size) != ERROR_SUCCESS) return false;
    if (size <= 2 || size > StopUpdatingSettings::kMaxFileValueBytes) return false;
    return ReadText(key, name, path) && !path.empty();
}

}  // namespace

StopUpdatingSettings LoadStopUpdatingSettings() {
    StopUpdatingSettings settings;
    RegKey key;
    if (key.Open(RegRoot::CurrentUser, reg_paths::kStopUpdating) != ERROR_SUCCESS) return settings;
    ReadFlag(key, u"SUNEnable", settings.enabled);
    if (ReadInt(key, u"SUNSeconds", settings.seconds) && settings.seconds <= 0) {
        settings.seconds = 1;
    }
    ReadFlag(key, u"SUNAllFiles", settings.allFiles);
    ReadText(key, u"SUNEmails", settings.emails);
    ReadFlag(key, u"SUNDontSendAt", settings.dontSendEnabled);
    ReadDword(key, u"SUNDontSendBeginSecond", settings.dontSendBegin);
    ReadDword(key, u"SUNDontSendEndSecond", settings.dontSendEnd);
    ReadFlag(key, u"SUNDesktopNotice", settings.desktopNotice);
    ReadFlag(key, u"SUNPostWebHook", settings.postWebHook);
    ReadText(key, u"SUNWebHookUrl", settings.webHookUrl);
    ReadText(key, u"SUNWebHookBody", settings.webHookBody);
    for (int number = 1;; ++number) {
        std::u16string path;
        if (!ReadListedFile(key, NumberedName(kFilePrefix, number), path)) break;
        settings.files.push_back(std::move(path));
    }
    return settings;
}

bool SaveStopUpdatingSettings(const StopUpdatingSettings& settings) {
    platform::RegTransaction transaction;
    RegKey key;
    if (!RecreateUserKey(reg_paths::kStopUpdating, key)) {
        transaction.Cancel();
        return false;
    }
    WriteFlag(key, u"SUNEnable", settings.enabled);
    WriteInt(key, u"SUNSeconds", settings.seconds);
    WriteFlag(key, u"SUNAllFiles", settings.allFiles);
    WriteText(key, u"SUNEmails", settings.emails);
    WriteFlag(key, u"SUNDontSendAt", settings.dontSendEnabled);
    WriteDword(key, u"SUNDontSendBeginSecond", settings.dontSendBegin);
    WriteDword(key, u"SUNDontSendEndSecond", settings.dontSendEnd);
    // The channels beside e-mail are written only when in use, so a rule
    // that only mails is stored exactly as before they came.
    if (settings.desktopNotice) WriteFlag(key, u"SUNDesktopNotice", true);
    if (settings.postWebHook) WriteFlag(key, u"SUNPostWebHook", true);
    if (!settings.webHookUrl.empty()) WriteText(key, u"SUNWebHookUrl", settings.webHookUrl);
    if (!settings.webHookBody.empty()) WriteText(key, u"SUNWebHookBody", settings.webHookBody);
    int number = 1;
    for (const std::u16string& file : settings.files) {
        WriteText(key, NumberedName(kFilePrefix, number++), file);
    }
    return transaction.Commit();
}

}  // namespace settings
