#include "mail/MailSettingsValidation.h"

namespace mail {

namespace {

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

std::u16string_view Trimmed(std::u16string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// The checks shared by OK and the sample e-mail.
std::optional<MailSettingsProblem> FindServerProblem(const MailSettings& settings,
                                                     std::u16string_view portText) {
    if (settings.smtpServer.empty()) {
        return MailSettingsProblem{MailSettingsField::Server, kNoServerMessage};
    }
    if (!ParseSmtpPort(portText)) {
        return MailSettingsProblem{MailSettingsField::Port, kBadPortMessage};
    }
    if (settings.mailFrom.empty()) {
        return MailSettingsProblem{MailSettingsField::MailFrom, kNoMailFromMessage};
    }
    if (settings.requiresAuth && settings.accountName.empty()) {
        return MailSettingsProblem{MailSettingsField::AccountName, kNoAccountMessage};
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::uint32_t> ParseSmtpPort(std::u16string_view text) {
    text = Trimmed(text);
    if (text.empty()) return std::nullopt;
    std::uint32_t port = 0;
    for (const char16_t c : text) {
        if (c < u'0' || c > u'9') return std::nullopt;
        port = port * 10 + static_cast<std::uint32_t>(c - u'0');
        // Stops before a long run of digits can wrap round into range.
        if (port > kHighestSmtpPort) return std::nullopt;
    }
    if (port == 0) return std::nullopt;
    return port;
}

std::optional<MailSettingsProblem> FindMailSettingsProblem(const MailSettings& settings,
                                                           std::u16string_view portText) {
    if (auto problem = FindServerProblem(settings, portText)) return problem;
    const struct {
        const std::u16string& text;
        MailSettingsField field;
        std::u16string_view message;
    } templates[] = {
        {settings.highlightSubject, MailSettingsField::HighlightSubject, kNoSubjectMessage},
        {settings.highlightBody, MailSettingsField::HighlightBody, kNoBodyMessage},
        {settings.stopSubject, MailSettingsField::StopSubject, kNoSubjectMessage},
        {settings.stopBody, MailSettingsField::StopBody, kNoBodyMessage},
    };
    for (const auto& part : templates) {
        if (part.text.empty()) return MailSettingsProblem{part.field, part.message};
    }
    return std::nullopt;
}

std::optional<MailSettingsProblem> FindSampleMailProblem(const MailSettings& settings,
                                                         std::u16string_view portText,
                                                         std::u16string_view address) {
    if (auto problem = FindServerProblem(settings, portText)) return problem;
    if (address.empty()) {
        return MailSettingsProblem{MailSettingsField::SampleAddress, kNoSampleAddressMessage};
    }
    return std::nullopt;
}

}  // namespace mail
