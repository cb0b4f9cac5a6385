#include "mail/MailSettings.h"

#include "platform/Registry.h"

namespace mail {

namespace {

using platform::DWORD;
using platform::ERROR_SUCCESS;
using platform::RegKey;

bool IsTextType(DWORD type) {
    return type == platform::REG_SZ || type == platform::REG_EXPAND_SZ;
}

// A number is exactly four bytes of a type other than text.
bool ReadNumber(const RegKey& key, std::u16string_view name, std::uint32_t& value) {
    DWORD type = platform::REG_NONE;
    DWORD read = 0;
    DWORD size = sizeof read;
    if (key.QueryValue(name, &type, &read, &size) != ERROR_SUCCESS) return false;
    if (size != sizeof read || IsTextType(type)) return false;
    value = read;
    return true;
}

bool ReadFlag(const RegKey& key, std::u16string_view name) {
    std::uint32_t value = 0;
    return ReadNumber(key, name, value) && value != 0;
}

// A missing value reads as an empty text.
std::u16string ReadText(const RegKey& key, std::u16string_view name) {
    std::u16string text;
    if (key.QueryString(name, text) != ERROR_SUCCESS) text.clear();
    return text;
}

// Ports are stored as signed numbers; 0, negative and too large all mean 25.
std::uint32_t ReadPort(const RegKey& key) {
    std::uint32_t raw = 0;
    if (!ReadNumber(key, u"SmtpPort", raw)) return kDefaultSmtpPort;
    const auto port = static_cast<std::int32_t>(raw);
    if (port <= 0 || static_cast<std::uint32_t>(port) > kHighestSmtpPort) return kDefaultSmtpPort;
    return raw;
}

// An empty stored template always stands for its default.
std::u16string ReadTemplate(const RegKey& key, std::u16string_view name,
                            std::u16string_view fallback) {
    std::u16string text = ReadText(key, name);
    if (text.empty()) text = fallback;
    return text;
}

MailSettings ReadSettings(const RegKey& key) {
    MailSettings settings;
    settings.requiresAuth = ReadFlag(key, u"SrvReqAuth");
    settings.useSsl = ReadFlag(key, u"SrvReqSsl");
    settings.mailFrom = ReadText(key, u"MailFrom");
    settings.smtpServer = ReadText(key, u"SmtpServer");
    settings.smtpPort = ReadPort(key);
    settings.accountName = ReadText(key, u"AuthName");
    settings.password = ReadText(key, u"AuthPass");
    settings.highlightSubject = ReadTemplate(key, u"EmlTempSubject", kDefaultHighlightSubject);
    settings.highlightBody = ReadTemplate(key, u"EmlTempBody", kDefaultHighlightBody);
    settings.stopSubject = ReadTemplate(key, u"SUNEmlTempSubject", kDefaultStopSubject);
    settings.stopBody = ReadTemplate(key, u"SUNEmlTempBody", kDefaultStopBody);
    settings.sslNoVerify = ReadFlag(key, u"SrvSslNoVerify");
    return settings;
}

}  // namespace

MailSettings LoadMailSettings() {
    RegKey key;
    if (key.Open(platform::RegRoot::CurrentUser, kEmailSettingsKey) != ERROR_SUCCESS) return {};
    return ReadSettings(key);
}

void LoadMailSettings(MailSettings& settings) {
    settings = LoadMailSettings();
}

void SaveMailSettings(const MailSettings& settings) {
    platform::RegTransaction group;
    RegKey key;
    if (key.Create(platform::RegRoot::CurrentUser, kEmailSettingsKey) != ERROR_SUCCESS) return;
    key.SetString(u"SmtpServer", settings.smtpServer);
    key.SetDWORD(u"SmtpPort", settings.smtpPort);
    key.SetString(u"MailFrom", settings.mailFrom);
    key.SetString(u"AuthName", settings.accountName);
    key.SetString(u"AuthPass", settings.password);
    key.SetString(u"EmlTempSubject", settings.highlightSubject);
    key.SetString(u"EmlTempBody", settings.highlightBody);
    key.SetString(u"SUNEmlTempSubject", settings.stopSubject);
    key.SetString(u"SUNEmlTempBody", settings.stopBody);
    key.SetDWORD(u"SrvReqAuth", settings.requiresAuth ? 1 : 0);
    key.SetDWORD(u"SrvReqSsl", settings.useSsl ? 1 : 0);
    key.SetDWORD(u"SrvSslNoVerify", settings.sslNoVerify ? 1 : 0);
}

bool AreMailSettingsComplete(const MailSettings& settings) {
    if (settings.smtpServer.empty() || settings.mailFrom.empty()) return false;
    return !settings.requiresAuth || !settings.accountName.empty();
}

bool AreMailSettingsComplete(const std::optional<MailSettings>& loaded) {
    if (loaded) return AreMailSettingsComplete(*loaded);
    return AreMailSettingsComplete(LoadMailSettings());
}

MailSettings MailSettingsForEditing(const std::optional<MailSettings>& loaded) {
    return loaded ? *loaded : LoadMailSettings();
}

void ApplyEditedMailSettings(std::optional<MailSettings>& loaded, const MailSettings& edited) {
    if (loaded) *loaded = edited;
    SaveMailSettings(edited);
}

}  // namespace mail
