#pragma once
// The application's notification records: the sending list (jobs that have
// not reported yet) and the sent list (records with an outcome), each in
// order of arrival. Confirming a record re-arms the filter that sent it.
// Everything here runs on the user-interface thread; send threads reach the
// records only through their completion.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "filters/HighlightDocumentRef.h"
#include "filters/HighlightFilters.h"
#include "mail/NotificationRecord.h"

namespace mail {

class CNotificationRecords {
public:
    const std::vector<NotificationRecord>& Sending() const { return sending_; }
    const std::vector<NotificationRecord>& Sent() const { return sent_; }
    // The sent records still waiting for confirmation, in order.
    std::vector<NotificationRecord> AwaitingConfirmation() const;

    // A record in state Sending joins the tail of the sending list, any other
    // the tail of the sent list. Gives the record's serial.
    std::uint64_t AddNotificationRecord(NotificationRecord record);

    // The job threadId has ended: an empty error means delivered. The first
    // sending record of that job gets its outcome and moves to the tail of the
    // sent list; an unknown job changes nothing.
    void OnMailSent(std::uint32_t threadId, std::string_view error);
    // The same for the post postId of a web hook (its identifiers are
    // counted apart from the e-mails').
    void OnWebHookPosted(std::uint32_t postId, std::string_view error);

    // Confirms the sent records with these serials that wait for confirmation.
    // Gives how many were confirmed.
    std::size_t Confirm(std::span<const std::uint64_t> serials,
                        filters::CHighlightFilters& filters);
    // Confirms every sent record that waits for confirmation.
    std::size_t ConfirmAll(filters::CHighlightFilters& filters);
    // Confirms every sent record that waits for confirmation, then removes all
    // sent records.
    void ClearAll(filters::CHighlightFilters& filters);

    // Removes the oldest sent records beyond the newest keep, for a program
    // where nobody clears them; a removed record waits for nobody.
    void PruneSent(std::size_t keep);

    // A closed document leaves every record: none of them waits for
    // confirmation any more, and none keeps referring to it, so a later
    // document at the same address is never re-armed by an old record.
    void ForgetDocument(filters::DocumentRef document);

    // A filter changed or removed in the highlight dialog: no record of its
    // former phrase waits for confirmation any more, in either list.
    void ReleaseRecordsOfPhrase(std::u16string_view phrase);

private:
    void Complete(NotificationChannel channel, std::uint32_t jobId, std::string_view error);
    // Clears the record's confirmation and lets the first filter with its
    // phrase notify the record's document again.
    static void Rearm(NotificationRecord& record, filters::CHighlightFilters& filters);

    std::vector<NotificationRecord> sending_;
    std::vector<NotificationRecord> sent_;
    std::uint64_t lastSerial_ = 0;
};

}  // namespace mail
