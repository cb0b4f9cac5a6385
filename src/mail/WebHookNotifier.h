#pragma once
// The web hook posts of the running application: composes them from the
// filter's (or the stop-updating rule's) URL and body, starts them and keeps
// the records of highlight posts beside those of the e-mails. Runs on the
// user-interface thread; the application owns the poster, the records and
// the clock.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "filters/IHighlightWebHook.h"
#include "mail/HighlightMail.h"
#include "mail/NotificationRecords.h"
#include "mail/StopUpdatingMail.h"
#include "mail/WebHookPoster.h"
#include "platform/IClock.h"

namespace mail {

class CWebHookNotifier final : public filters::IHighlightWebHook {
public:
    CWebHookNotifier(CWebHookPoster& poster, CNotificationRecords& records,
                     const platform::IClock& clock);

    // Composes and starts the post of a highlight match and records it, with
    // the URL's host as its address. Without a URL nothing is posted and the
    // record goes straight to the sent list as failed. Gives the record's
    // serial.
    std::uint64_t PostHighlight(std::u16string_view url, std::u16string_view body,
                                const HighlightMailEvent& event);
    void PostHighlightWebHook(std::u16string_view logName, std::u16string_view line,
                              std::optional<std::u16string_view> previousLines,
                              const filters::HighlightFilter& filter,
                              filters::DocumentRef document) override;

    // Composes and starts the post for a file that has been quiet. No record
    // is kept; a failure goes to the debug output. False when nothing was
    // started (no URL).
    bool PostStopUpdating(std::u16string_view url, std::u16string_view body,
                          const StopUpdatingMailEvent& event);

    // Told how each stop-updating post ended: the host and the error text,
    // empty when the server took it.
    using StopPostOutcome =
        std::function<void(const std::u16string& path, const std::string& host, std::string error)>;
    void SetStopPostOutcome(StopPostOutcome outcome) { stopPostOutcome_ = std::move(outcome); }

private:
    CWebHookPoster& poster_;
    CNotificationRecords& records_;
    const platform::IClock& clock_;
    StopPostOutcome stopPostOutcome_;
};

}  // namespace mail
