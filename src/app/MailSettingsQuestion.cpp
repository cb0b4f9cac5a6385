#include "app/MailSettingsQuestion.h"

#include "app/TarvikApp.h"
#include "mail/MailSettings.h"

namespace app {

bool AskToCompleteMailSettings(CTarvikApp& app, core::IUserInterface& ui) {
    if (!app.HighlightFilters().AnySendEmail()) return false;
    if (mail::AreMailSettingsComplete(app.Mail().Settings())) return false;
    return ui.ShowMessage(kMailSettingsIncompleteQuestion, core::MessageIcon::Question,
                          core::MessageButtons::YesNo) == core::MessageAnswer::Yes;
}

}  // namespace app
