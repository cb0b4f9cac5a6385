#pragma once
// After a dialog switched e-mail notifications on: when the e-mail settings
// are not complete, the user is asked whether to set them now.

#include <string_view>

#include "core/IUserInterface.h"

namespace app {

class CTarvikApp;

inline constexpr std::u16string_view kMailSettingsIncompleteQuestion =
    u"You have enabled sending notification email. However, email settings aren't set "
    u"properly.\nDo you want to set email settings now?\n\nYou also can click menu 'Tools' -> "
    u"'Email Settings' to set them.";

// Asks the question when an enabled highlight filter sends e-mail and the
// settings are incomplete. True when the user answered Yes: the caller then
// opens the e-mail settings.
bool AskToCompleteMailSettings(CTarvikApp& app, core::IUserInterface& ui);
// The same after the stop-updating dialog, which switches sending on by its
// own box.
bool AskToCompleteMailSettings(bool sendingEnabled, CTarvikApp& app, core::IUserInterface& ui);

}  // namespace app
