#include "mail/StopUpdatingEdit.h"

#include <algorithm>
#include <cstdio>

#include "filters/HighlightFilterValidation.h"
#include "mail/StopUpdatingRule.h"

namespace mail {

namespace {

bool Listed(const std::vector<std::u16string>& files, std::u16string_view path) {
    return std::find(files.begin(), files.end(), path) != files.end();
}

std::u16string TimesMessage(const StopUpdatingEdit& edit) {
    char text[96];
    std::snprintf(text, sizeof text,
                  "Begin time (%02d:%02d) should be different to end time (%02d:%02d).",
                  edit.beginHour, edit.beginMinute, edit.endHour, edit.endMinute);
    return std::u16string(text, text + std::char_traits<char>::length(text));
}

}  // namespace

StopUpdatingEdit StopUpdatingEditOf(const settings::StopUpdatingSettings& settings) {
    StopUpdatingEdit edit;
    edit.enabled = settings.enabled;
    edit.seconds = settings.seconds;
    edit.emails = settings.emails;
    edit.dontSendEnabled = settings.dontSendEnabled;
    // A stored time beyond the day shows as its time of day.
    const std::uint32_t begin = settings.dontSendBegin % kSecondsPerDay;
    const std::uint32_t end = settings.dontSendEnd % kSecondsPerDay;
    edit.beginHour = static_cast<int>(begin / 3600);
    edit.beginMinute = static_cast<int>(begin % 3600 / 60);
    edit.endHour = static_cast<int>(end / 3600);
    edit.endMinute = static_cast<int>(end % 3600 / 60);
    edit.allFiles = settings.allFiles;
    AddStopUpdatingFiles(edit.files, settings.files);
    edit.desktopNotice = settings.desktopNotice;
    edit.postWebHook = settings.postWebHook;
    edit.webHookUrl = settings.webHookUrl;
    edit.webHookBody = settings.webHookBody;
    return edit;
}

void AddStopUpdatingFiles(std::vector<std::u16string>& files,
                          const std::vector<std::u16string>& chosen) {
    for (const std::u16string& path : chosen) {
        if (!Listed(files, path)) files.push_back(path);
    }
}

std::optional<StopUpdatingProblem> StopUpdatingEditProblem(StopUpdatingEdit& edit) {
    if (!edit.enabled) return std::nullopt;
    filters::TrimWhiteSpace(edit.emails);
    filters::TrimWhiteSpace(edit.webHookUrl);
    if (edit.seconds <= 0) {
        return StopUpdatingProblem{StopUpdatingField::Seconds,
                                   u"Please enter a value greater than 0"};
    }
    if (edit.emails.empty()) {
        return StopUpdatingProblem{StopUpdatingField::Emails,
                                   u"Please enter one or more email addresses"};
    }
    if (edit.dontSendEnabled && edit.beginHour == edit.endHour &&
        edit.beginMinute == edit.endMinute) {
        return StopUpdatingProblem{StopUpdatingField::DontSendTimes, TimesMessage(edit)};
    }
    return std::nullopt;
}

settings::StopUpdatingSettings StopUpdatingSettingsOf(const StopUpdatingEdit& edit) {
    settings::StopUpdatingSettings settings;
    settings.enabled = edit.enabled;
    settings.seconds = edit.seconds;
    settings.allFiles = edit.allFiles;
    settings.emails = edit.emails;
    settings.dontSendEnabled = edit.dontSendEnabled;
    settings.dontSendBegin =
        static_cast<std::uint32_t>(edit.beginHour * 3600 + edit.beginMinute * 60);
    settings.dontSendEnd = static_cast<std::uint32_t>(edit.endHour * 3600 + edit.endMinute * 60);
    settings.files = edit.files;
    settings.desktopNotice = edit.desktopNotice;
    settings.postWebHook = edit.postWebHook;
    settings.webHookUrl = edit.webHookUrl;
    settings.webHookBody = edit.webHookBody;
    return settings;
}

}  // namespace mail
