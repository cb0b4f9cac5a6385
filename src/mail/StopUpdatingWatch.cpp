#include "mail/StopUpdatingWatch.h"

#include <utility>

#include "mail/MailDate.h"
#include "mail/StopUpdatingMail.h"
#include "mail/StopUpdatingRule.h"

namespace mail {

CStopUpdatingWatch::CStopUpdatingWatch(CMailNotifier& notifier, const platform::IClock& clock,
                                       CWebHookNotifier* webHooks)
    : notifier_(notifier), webHooks_(webHooks), clock_(clock) {}

void CStopUpdatingWatch::Load() {
    settings_ = settings::LoadStopUpdatingSettings();
}

void CStopUpdatingWatch::Apply(settings::StopUpdatingSettings edited) {
    settings_ = std::move(edited);
    settings::SaveStopUpdatingSettings(settings_);
}

bool CStopUpdatingWatch::Applies(std::u16string_view path) const {
    return StopUpdatingApplies(settings_, path);
}

bool CStopUpdatingWatch::Check(std::u16string_view path, bool sinceLastUpdate,
                               std::int64_t referenceTime) {
    const platform::LocalTime local = clock_.Local();
    const std::int64_t secondOfDay = local.hour * 3600 + local.minute * 60 + local.second;
    switch (DecideStopUpdating(settings_, clock_.UnixTime(), referenceTime, secondOfDay)) {
        case StopUpdatingDecision::Wait:
        case StopUpdatingDecision::Suppressed:
            return false;
        case StopUpdatingDecision::Send:
            break;
    }
    // Settings that do not suffice are told on the debug output; the period
    // counts as done all the same. A rule that only posts sends no e-mail.
    if (!settings_.emails.empty()) {
        notifier_.SendStopUpdatingMail(path, settings_.emails, settings_.seconds, sinceLastUpdate,
                                       referenceTime);
    }
    if (settings_.desktopNotice && desktop_) {
        desktop_->ShowStopUpdatingNotice(path, StopUpdatingNoticeText(path, settings_.seconds));
    }
    if (webHooks_ && settings_.postWebHook) {
        StopUpdatingMailEvent event;
        event.path = path;
        event.seconds = settings_.seconds;
        event.sinceLastUpdate = sinceLastUpdate;
        event.referenceTime = LocalTimeAt(referenceTime);
        webHooks_->PostStopUpdating(settings_.webHookUrl, settings_.webHookBody, event);
    }
    return true;
}

}  // namespace mail
