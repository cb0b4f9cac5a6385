#include "mail/NotificationRecords.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "platform/CodePage.h"

namespace mail {

std::vector<NotificationRecord> CNotificationRecords::AwaitingConfirmation() const {
    std::vector<NotificationRecord> awaiting;
    std::copy_if(sent_.begin(), sent_.end(), std::back_inserter(awaiting),
                 [](const NotificationRecord& record) { return record.requiresConfirmation; });
    return awaiting;
}

std::uint64_t CNotificationRecords::AddNotificationRecord(NotificationRecord record) {
    record.serial = ++lastSerial_;
    const std::uint64_t serial = record.serial;
    if (record.state == NotificationState::Sending) {
        sending_.push_back(std::move(record));
    } else {
        sent_.push_back(std::move(record));
    }
    return serial;
}

void CNotificationRecords::OnMailSent(std::uint32_t threadId, std::string_view error) {
    Complete(NotificationChannel::Email, threadId, error);
}

void CNotificationRecords::OnWebHookPosted(std::uint32_t postId, std::string_view error) {
    Complete(NotificationChannel::WebHook, postId, error);
}

void CNotificationRecords::Complete(NotificationChannel channel, std::uint32_t jobId,
                                    std::string_view error) {
    const auto found = std::find_if(sending_.begin(), sending_.end(),
                                    [channel, jobId](const NotificationRecord& r) {
                                        return r.channel == channel && r.threadId == jobId;
                                    });
    if (found == sending_.end()) return;
    NotificationRecord record = std::move(*found);
    sending_.erase(found);
    if (error.empty()) {
        record.state = NotificationState::Success;
    } else {
        record.state = NotificationState::Failure;
        record.errorMessage = platform::Utf8ToUtf16(error);
    }
    sent_.push_back(std::move(record));
}

void CNotificationRecords::Rearm(NotificationRecord& record, filters::CHighlightFilters& filters) {
    record.requiresConfirmation = false;
    if (record.document != nullptr) filters.ReleaseDocument(record.filterText, record.document);
}

std::size_t CNotificationRecords::Confirm(std::span<const std::uint64_t> serials,
                                          filters::CHighlightFilters& filters) {
    std::size_t confirmed = 0;
    for (NotificationRecord& record : sent_) {
        if (!record.requiresConfirmation) continue;
        if (std::find(serials.begin(), serials.end(), record.serial) == serials.end()) continue;
        Rearm(record, filters);
        ++confirmed;
    }
    return confirmed;
}

std::size_t CNotificationRecords::ConfirmAll(filters::CHighlightFilters& filters) {
    std::size_t confirmed = 0;
    for (NotificationRecord& record : sent_) {
        if (!record.requiresConfirmation) continue;
        Rearm(record, filters);
        ++confirmed;
    }
    return confirmed;
}

void CNotificationRecords::ClearAll(filters::CHighlightFilters& filters) {
    ConfirmAll(filters);
    sent_.clear();
}

void CNotificationRecords::PruneSent(std::size_t keep) {
    if (sent_.size() <= keep) return;
    sent_.erase(sent_.begin(), sent_.end() - static_cast<std::ptrdiff_t>(keep));
}

void CNotificationRecords::ForgetDocument(filters::DocumentRef document) {
    if (document == nullptr) return;
    for (auto* list : {&sending_, &sent_}) {
        for (NotificationRecord& record : *list) {
            if (record.document != document) continue;
            record.requiresConfirmation = false;
            record.document = nullptr;
        }
    }
}

void CNotificationRecords::ReleaseRecordsOfPhrase(std::u16string_view phrase) {
    for (auto* list : {&sending_, &sent_}) {
        for (NotificationRecord& record : *list) {
            if (record.filterText == phrase) record.requiresConfirmation = false;
        }
    }
}

}  // namespace mail
