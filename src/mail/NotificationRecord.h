#pragma once
// The record a highlight notification e-mail leaves: it follows the e-mail
// from sending to its outcome and, for a filter that notifies once per
// document, waits for the user to confirm it.

#include <cstdint>
#include <string>
#include <string_view>

#include "filters/HighlightDocumentRef.h"
#include "platform/IClock.h"

namespace mail {

enum class NotificationState : std::int32_t { Sending = 199, Failure = 299, Success = 399 };

// How the notification went out: an e-mail, or a post to a web hook.
enum class NotificationChannel { Email, WebHook };

struct NotificationRecord {
    // The send job's identifier, which its completion carries; 0 when no job
    // was started.
    std::uint32_t threadId = 0;
    NotificationChannel channel = NotificationChannel::Email;
    bool requiresConfirmation = false;
    // The document that raised the notification; null once it has closed.
    filters::DocumentRef document = nullptr;
    // The moment of composition, the same as "%t" in the message.
    platform::LocalTime time;
    NotificationState state = NotificationState::Sending;
    std::u16string filterText;
    std::u16string logFile;
    // The e-mail list as typed; for a web hook, the host its URL names.
    std::u16string emails;
    std::u16string errorMessage;
    // Identifies the record for a selection in the confirmation dialog; set
    // when the record is added, unique for the run.
    std::uint64_t serial = 0;
};

// Cell texts of the confirmation dialog.
std::u16string FormatRecordTime(const platform::LocalTime& time);         // "2010-03-02 15:32:21"
std::u16string_view RequiresConfirmationText(bool requiresConfirmation);  // "Yes" / "No"
std::u16string_view SentResultText(NotificationState state);  // "Sending", "Failure", "Success"

}  // namespace mail
