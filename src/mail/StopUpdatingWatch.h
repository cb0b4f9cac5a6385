#pragma once
// The stop-updating notification of the running application: it keeps the
// rule (loaded with the options, replaced by the dialog's OK) and answers the
// documents' polls, sending one e-mail per quiet period through the
// notifier, and posting to the rule's web hook when it has one. Used on the
// user-interface thread.

#include <cstdint>
#include <string_view>

#include "core/IStopUpdatingCheck.h"
#include "mail/IStopUpdatingDesktopNotice.h"
#include "mail/MailNotifier.h"
#include "mail/WebHookNotifier.h"
#include "platform/IClock.h"
#include "settings/StopUpdatingSettings.h"

namespace mail {

class CStopUpdatingWatch final : public core::IStopUpdatingCheck {
public:
    // Without web hooks (null) the rule's post is left out.
    CStopUpdatingWatch(CMailNotifier& notifier, const platform::IClock& clock,
                       CWebHookNotifier* webHooks = nullptr);

    const settings::StopUpdatingSettings& Settings() const { return settings_; }
    // Reads the rule from the store.
    void Load();
    // Takes the edited rule and saves it.
    void Apply(settings::StopUpdatingSettings edited);
    // Where the notice shows on the desktop when the rule asks for it; none
    // without a desktop.
    void SetDesktopNotice(IStopUpdatingDesktopNotice* desktop) { desktop_ = desktop; }

    bool Applies(std::u16string_view path) const override;
    bool Check(std::u16string_view path, bool sinceLastUpdate, std::int64_t referenceTime) override;

private:
    CMailNotifier& notifier_;
    CWebHookNotifier* webHooks_;
    const platform::IClock& clock_;
    settings::StopUpdatingSettings settings_;
    IStopUpdatingDesktopNotice* desktop_ = nullptr;
};

}  // namespace mail
