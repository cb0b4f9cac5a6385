#include "mail/MailCenter.h"

namespace mail {

CMailCenter::CMailCenter(platform::IUiQueue* queue, const platform::IClock& clock)
    : clock_(clock),
      sender_(queue),
      notifier_(settings_, sender_, records_, clock),
      stopUpdating_(notifier_, clock) {}

}  // namespace mail
