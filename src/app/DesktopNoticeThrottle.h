#pragma once
// Keeps a burst of matching lines from flooding the desktop: per filter and
// document one notification at most in kWindowMs. The lines that follow it
// within that time are counted, and when the time is up they are summed up
// in one update of the same notification ("and 37 more lines"), which starts
// the next such time. Decides only; the notifications themselves are shown
// by the user interface.

#include <compare>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "filters/HighlightDocumentRef.h"
#include "platform/IClock.h"

namespace app {

// The notification a matched line belongs to.
struct DesktopNoticeKey {
    // The filter's phrase.
    std::u16string filter;
    filters::DocumentRef document = nullptr;

    auto operator<=>(const DesktopNoticeKey&) const = default;
};

struct DesktopNoticeSummary {
    DesktopNoticeKey key;
    // Lines summed up into the notification since it showed its own line.
    std::uint64_t moreLines = 0;

    bool operator==(const DesktopNoticeSummary&) const = default;
};

// "and 1 more line", "and 37 more lines".
std::u16string MoreLinesText(std::uint64_t moreLines);

class CDesktopNoticeThrottle {
public:
    static constexpr std::uint64_t kWindowMs = 5000;

    explicit CDesktopNoticeThrottle(const platform::IClock& clock) : clock_(clock) {}

    // True when the line shows as a notification of its own; false when it
    // falls within the time of the key's last notification or update and is
    // counted for the next summary.
    bool Admit(const DesktopNoticeKey& key);
    // The summaries whose time is up, each once, in key order. A key whose
    // time ran out with nothing counted is forgotten: its next line shows
    // as a notification of its own again.
    std::vector<DesktopNoticeSummary> TakeDueSummaries();
    // Milliseconds until the next summary is due (0: now); none while no
    // line waits to be summed up.
    std::optional<std::uint64_t> NextDueInMs() const;
    // Whether the key's time still runs or a summary of it waits: the
    // notification it last showed may still be updated.
    bool IsOpen(const DesktopNoticeKey& key) const;

private:
    struct Window {
        std::uint64_t start = 0;
        // Counted since the notification or its last update.
        std::uint64_t waiting = 0;
        // Counted since the notification showed its own line.
        std::uint64_t total = 0;
    };

    bool Ended(const Window& window, std::uint64_t now) const {
        return now - window.start >= kWindowMs;
    }

    const platform::IClock& clock_;
    std::map<DesktopNoticeKey, Window> windows_;
};

}  // namespace app
