#include "app/DesktopNoticeThrottle.h"

#include <algorithm>
#include <string>

namespace app {

std::u16string MoreLinesText(std::uint64_t moreLines) {
    const std::string count = std::to_string(moreLines);
    return u"and " + std::u16string(count.begin(), count.end()) +
           (moreLines == 1 ? u" more line" : u" more lines");
}

bool CDesktopNoticeThrottle::Admit(const DesktopNoticeKey& key) {
    const std::uint64_t now = clock_.TickMs();
    auto found = windows_.find(key);
    if (found != windows_.end() && !(Ended(found->second, now) && found->second.waiting == 0)) {
        // Within the time, or past it with a summary not yet taken, which
        // this line joins.
        ++found->second.waiting;
        ++found->second.total;
        return false;
    }
    windows_[key] = Window{now, 0, 0};
    return true;
}

std::vector<DesktopNoticeSummary> CDesktopNoticeThrottle::TakeDueSummaries() {
    const std::uint64_t now = clock_.TickMs();
    std::vector<DesktopNoticeSummary> due;
    for (auto it = windows_.begin(); it != windows_.end();) {
        Window& window = it->second;
        if (!Ended(window, now)) {
            ++it;
        } else if (window.waiting == 0) {
            it = windows_.erase(it);
        } else {
            due.push_back({it->first, window.total});
            window.start = now;
            window.waiting = 0;
            ++it;
        }
    }
    return due;
}

std::optional<std::uint64_t> CDesktopNoticeThrottle::NextDueInMs() const {
    const std::uint64_t now = clock_.TickMs();
    std::optional<std::uint64_t> next;
    for (const auto& [key, window] : windows_) {
        if (window.waiting == 0) continue;
        const std::uint64_t in = Ended(window, now) ? 0 : window.start + kWindowMs - now;
        next = next ? std::min(*next, in) : in;
    }
    return next;
}

bool CDesktopNoticeThrottle::IsOpen(const DesktopNoticeKey& key) const {
    const auto found = windows_.find(key);
    return found != windows_.end() &&
           (found->second.waiting > 0 || !Ended(found->second, clock_.TickMs()));
}

}  // namespace app
