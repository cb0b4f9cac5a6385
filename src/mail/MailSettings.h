#pragma once
// The SMTP settings and the two notification templates, as kept in the store
// under the EmailSettings key. The application owns one instance, loaded at
// the first notification of the run; until then the settings dialog works on
// a temporary copy read from the store.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace mail {

inline constexpr std::u16string_view kEmailSettingsKey = u"Software\\Ostra Tarvik\\EmailSettings";

inline constexpr std::uint32_t kDefaultSmtpPort = 25;
inline constexpr std::uint32_t kHighestSmtpPort = 0xFFFF;

inline constexpr std::u16string_view kDefaultHighlightSubject =
    u"Highlight Phrase Occurs Notification";
inline constexpr std::u16string_view kDefaultHighlightBody =
    u"Hi,\r\n\r\nHighlight phrase \"%h\" occurred in file %f at %t.\r\n\r\nPrevious lines:\r\n"
    u"%p\r\n\r\nThe occurrence line is:\r\n%n\r\n\r\n\r\n---\r\nThe email was sent by Ostra "
    u"Tarvik\r\n";
inline constexpr std::u16string_view kDefaultStopSubject = u"File Stops Updating Notification";
inline constexpr std::u16string_view kDefaultStopBody =
    u"Hi,\r\n\r\nFile \"%f\" has stopped updating for %s seconds since %c.\r\n\r\n%c at: "
    u"%t\r\n\r\n\r\n---\r\nThe email was sent by Ostra Tarvik\r\n";

struct MailSettings {
    bool requiresAuth = false;
    bool useSsl = false;
    std::u16string mailFrom;
    std::u16string smtpServer;
    std::uint32_t smtpPort = kDefaultSmtpPort;
    std::u16string accountName;
    // Kept as plain text in the store, like the account name.
    std::u16string password;
    std::u16string highlightSubject{kDefaultHighlightSubject};
    std::u16string highlightBody{kDefaultHighlightBody};
    std::u16string stopSubject{kDefaultStopSubject};
    std::u16string stopBody{kDefaultStopBody};
    // Skips the server certificate check of SSL connections, for private
    // relays with certificates of their own.
    bool sslNoVerify = false;
};

// Reads the settings from the store into settings. Values that are missing or
// unreadable keep the defaults; an out-of-range port becomes 25 and an empty
// template its default.
void LoadMailSettings(MailSettings& settings);
MailSettings LoadMailSettings();
// Writes every value, creating the key. Failures are silent.
void SaveMailSettings(const MailSettings& settings);

// The server, the sender and (with authentication) the account name are set.
// The templates are not looked at, and an empty password is acceptable.
bool AreMailSettingsComplete(const MailSettings& settings);
// The same for the application's settings, or for a temporary copy read from
// the store when they are not loaded yet.
bool AreMailSettingsComplete(const std::optional<MailSettings>& loaded);

// The copy the settings dialog edits: the loaded settings, else the store's.
MailSettings MailSettingsForEditing(const std::optional<MailSettings>& loaded);
// Applies the dialog's values on OK: they are saved, and replace the loaded
// settings if there are any. A temporary copy is not kept, so the first
// notification loads what was saved.
void ApplyEditedMailSettings(std::optional<MailSettings>& loaded, const MailSettings& edited);

}  // namespace mail
