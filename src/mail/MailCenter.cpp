#include "mail/MailCenter.h"

namespace mail {

CMailCenter::CMailCenter(platform::IUiQueue* queue, const platform::IClock& clock)
    : clock_(clock),
      sender_(queue),
      poster_(queue),
      notifier_(settings_, sender_, records_, clock),
      webHooks_(poster_, records_, clock),
      stopUpdating_(notifier_, clock, &webHooks_) {}

void CMailCenter::SendHighlightMail(std::u16string_view logName, std::u16string_view line,
                                    std::optional<std::u16string_view> previousLines,
                                    const filters::HighlightFilter& filter,
                                    filters::DocumentRef document) {
    notifier_.SendHighlightMail(logName, line, previousLines, filter, document);
}

}  // namespace mail
