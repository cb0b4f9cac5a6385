#include "app/MailSettingsQuestion.h"

#include "app/TarvikApp.h"
#include "mail/MailSettings.h"

namespace app {

bool AskToCompleteMailSettings(CTarvikApp& app, core::IUserInterface& ui) {
    return AskToCompleteMailSettings(app.HighlightFilters().AnySendEmail(), app, ui);
}

bool AskToCompleteMailSettings(bool sendingEnabled, CTarvikApp& app, core::IUserInterface& ui) {
    if (!sendingEnabled) return false;
    if (mail::AreMailSettingsComplete(app.Mail().Settings())) return false;
    return ui.ShowMessage(kMailSettingsIncompleteQuestion, core::MessageIcon::Question,
                          core::MessageButtons::YesNo) == core::MessageAnswer::Yes;
}

}  // namespace app
