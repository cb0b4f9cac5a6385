#pragma once
// Sends the notification e-mails of the running application: composes them
// from the settings (loaded at the first notification), starts their jobs and
// keeps the records of highlight notifications. The application owns the
// settings, the sender, the records and the clock; this object only ties
// them together and runs on the user-interface thread.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "filters/HighlightDocumentRef.h"
#include "filters/HighlightFilter.h"
#include "mail/HighlightMail.h"
#include "mail/MailSender.h"
#include "mail/MailSettings.h"
#include "mail/NotificationRecords.h"
#include "platform/IClock.h"

namespace mail {

class CMailNotifier {
public:
    CMailNotifier(std::optional<MailSettings>& settings, CMailSender& sender,
                  CNotificationRecords& records, const platform::IClock& clock);

    // The application's settings, read from the store on first use.
    const MailSettings& Settings();
    bool AreMailSettingsComplete() const;

    // Composes and starts the notification for a highlight match and records
    // it. With insufficient settings nothing is sent and the record goes
    // straight to the sent list as failed with "Miss email settings.". Gives
    // the record's serial.
    std::uint64_t SendHighlightMail(const HighlightMailEvent& event);
    std::uint64_t SendHighlightMail(std::u16string_view logName, std::u16string_view line,
                                    std::optional<std::u16string_view> previousLines,
                                    const filters::HighlightFilter& filter,
                                    filters::DocumentRef document);

    // Composes and starts the notification for a file that has been quiet for
    // seconds since referenceTime (seconds since 1970 UTC). No record is kept:
    // a failure, including insufficient settings, goes to the debug output.
    // False when nothing was started.
    bool SendStopUpdatingMail(std::u16string_view path, std::u16string_view emails,
                              std::int32_t seconds, bool sinceLastUpdate,
                              std::int64_t referenceTime);

    // Told how each stop-updating e-mail ended: the error text, empty when
    // it was delivered. Without one (the desktop program) only failures are
    // told, on the debug output.
    using StopMailOutcome = std::function<void(const std::u16string& path,
                                               const std::u16string& emails, std::string error)>;
    void SetStopMailOutcome(StopMailOutcome outcome) { stopMailOutcome_ = std::move(outcome); }

private:
    std::optional<MailSettings>& settings_;
    CMailSender& sender_;
    CNotificationRecords& records_;
    const platform::IClock& clock_;
    StopMailOutcome stopMailOutcome_;
};

}  // namespace mail
