#include "mail/WebHookNotifier.h"

#include <utility>

#include "mail/WebHookCompose.h"
#include "platform/CodePage.h"

namespace mail {

CWebHookNotifier::CWebHookNotifier(CWebHookPoster& poster, CNotificationRecords& records,
                                   const platform::IClock& clock)
    : poster_(poster), records_(records), clock_(clock) {}

std::uint64_t CWebHookNotifier::PostHighlight(std::u16string_view url, std::u16string_view body,
                                              const HighlightMailEvent& event) {
    const platform::LocalTime now = clock_.Local();
    NotificationRecord record;
    record.channel = NotificationChannel::WebHook;
    record.requiresConfirmation = event.requiresConfirmation;
    record.document = event.document;
    record.time = now;
    record.filterText = event.phrase;
    record.logFile = event.logName;
    std::optional<WebHookPost> post = ComposeHighlightWebHook(url, body, event, now);
    if (!post) {
        record.state = NotificationState::Failure;
        record.errorMessage = platform::Utf8ToUtf16(kNoWebHookUrl);
        return records_.AddNotificationRecord(std::move(record));
    }
    record.emails = platform::Utf8ToUtf16(post->host);
    // The completion runs later on this same thread, so the record is in the
    // sending list before its outcome can arrive.
    record.threadId = poster_.Start(std::move(*post),
                                    [&records = records_](std::uint32_t postId, std::string error) {
                                        records.OnWebHookPosted(postId, error);
                                    });
    return records_.AddNotificationRecord(std::move(record));
}

void CWebHookNotifier::PostHighlightWebHook(std::u16string_view logName, std::u16string_view line,
                                            std::optional<std::u16string_view> previousLines,
                                            const filters::HighlightFilter& filter,
                                            filters::DocumentRef document) {
    PostHighlight(filter.WebHookUrl, filter.WebHookBody,
                  HighlightEventOf(logName, line, previousLines, filter, document));
}

bool CWebHookNotifier::PostStopUpdating(std::u16string_view url, std::u16string_view body,
                                        const StopUpdatingMailEvent& event) {
    std::optional<WebHookPost> post = ComposeStopUpdatingWebHook(url, body, event);
    if (!post) return false;
    JobCompletion completion;
    if (stopPostOutcome_) {
        completion = [outcome = stopPostOutcome_, path = std::u16string(event.path),
                      host = post->host](std::uint32_t, std::string error) {
            outcome(path, host, std::move(error));
        };
    }
    poster_.Start(std::move(*post), std::move(completion));
    return true;
}

}  // namespace mail
