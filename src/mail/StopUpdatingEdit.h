#pragma once
// The "Stop Updating Notification" dialog's values and checks, decided without
// any window: the file list as it opens, files added, the checks of OK in
// their order and the rule OK makes of the values.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/StopUpdatingSettings.h"

namespace mail {

// What the dialog's controls hold.
struct StopUpdatingEdit {
    bool enabled = false;
    int seconds = 60;
    std::u16string emails;
    bool dontSendEnabled = false;
    int beginHour = 0;
    int beginMinute = 0;
    int endHour = 0;
    int endMinute = 0;
    bool allFiles = true;
    std::vector<std::u16string> files;
    bool desktopNotice = false;
    bool postWebHook = false;
    std::u16string webHookUrl;
    // Not shown in the dialog; kept as stored.
    std::u16string webHookBody;
};

// The controls for a stored rule; a path repeating an earlier one is left
// out of the list. Paths compare exactly, as the rule compares them.
StopUpdatingEdit StopUpdatingEditOf(const settings::StopUpdatingSettings& settings);

// Appends the paths not yet in the list, in order.
void AddStopUpdatingFiles(std::vector<std::u16string>& files,
                          const std::vector<std::u16string>& chosen);

// The field a refusal puts the focus on.
enum class StopUpdatingField { Seconds, Emails, DontSendTimes };

struct StopUpdatingProblem {
    StopUpdatingField field = StopUpdatingField::Seconds;
    std::u16string message;

    bool operator==(const StopUpdatingProblem&) const = default;
};

// With the rule on: the e-mail text and the web hook's address lose their
// outer blanks, then the seconds, the addresses and the do-not-send times are
// checked in that order.
std::optional<StopUpdatingProblem> StopUpdatingEditProblem(StopUpdatingEdit& edit);

// The rule OK saves.
settings::StopUpdatingSettings StopUpdatingSettingsOf(const StopUpdatingEdit& edit);

}  // namespace mail
