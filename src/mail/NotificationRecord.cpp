#include "mail/NotificationRecord.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace mail {

std::u16string FormatRecordTime(const platform::LocalTime& time) {
    std::array<char, 64> buffer{};
    const int length =
        std::snprintf(buffer.data(), buffer.size(), "%d-%02d-%02d %02d:%02d:%02d", time.year,
                      time.month, time.day, time.hour, time.minute, time.second);
    if (length <= 0) return {};
    const auto size = std::min(static_cast<std::size_t>(length), buffer.size() - 1);
    return std::u16string(buffer.data(), buffer.data() + size);
}

std::u16string_view RequiresConfirmationText(bool requiresConfirmation) {
    return requiresConfirmation ? u"Yes" : u"No";
}

std::u16string_view SentResultText(NotificationState state) {
    switch (state) {
        case NotificationState::Sending:
            return u"Sending";
        case NotificationState::Failure:
            return u"Failure";
        case NotificationState::Success:
            return u"Success";
    }
    return u"";
}

}  // namespace mail
