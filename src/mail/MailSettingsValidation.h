#pragma once
// The checks of the e-mail settings dialog, in the order the user meets
// them: OK runs all of them, the sample e-mail the server ones and its
// address. Each problem names the control that gets the focus.

#include <cstdint>
#include <optional>
#include <string_view>

#include "mail/MailSettings.h"

namespace mail {

enum class MailSettingsField {
    Server,
    Port,
    MailFrom,
    AccountName,
    HighlightSubject,
    HighlightBody,
    StopSubject,
    StopBody,
    SampleAddress,
};

struct MailSettingsProblem {
    MailSettingsField field;
    std::u16string_view message;
};

inline constexpr std::u16string_view kNoServerMessage = u"Please input SMTP server name or IP.";
inline constexpr std::u16string_view kBadPortMessage = u"SMTP port must be between 1 and 65535.";
inline constexpr std::u16string_view kNoMailFromMessage = u"Please input 'Mail From'.";
inline constexpr std::u16string_view kNoAccountMessage =
    u"Please input SMTP server authentication account name.";
inline constexpr std::u16string_view kNoSubjectMessage = u"Please input email template subject.";
inline constexpr std::u16string_view kNoBodyMessage = u"Please input email template body.";
inline constexpr std::u16string_view kNoSampleAddressMessage = u"Please enter a email address.";

// The port as typed: decimal digits, with blanks around them allowed, from 1
// to 65535. Anything else has no value.
std::optional<std::uint32_t> ParseSmtpPort(std::u16string_view text);

// The first problem of the settings as edited, whose port is still the text
// of its box; none when OK may save them.
std::optional<MailSettingsProblem> FindMailSettingsProblem(const MailSettings& settings,
                                                           std::u16string_view portText);

// The first problem before a sample e-mail can go: server, port, sender and
// account name, then the sample address.
std::optional<MailSettingsProblem> FindSampleMailProblem(const MailSettings& settings,
                                                         std::u16string_view portText,
                                                         std::u16string_view address);

}  // namespace mail
