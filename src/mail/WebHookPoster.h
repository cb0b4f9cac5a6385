#pragma once
// Posts to web hooks on at most four threads at once, never on the
// user-interface thread, and reports each outcome there. Posts beyond the
// threads at hand wait their turn, up to a bound; each post ends within ten
// seconds.

#include <cstdint>
#include <functional>
#include <string>

#include "mail/JobPool.h"
#include "mail/WebHookPost.h"
#include "platform/IUiQueue.h"

namespace mail {

// A post that came while the waiting list was full.
inline constexpr std::string_view kErrorTooManyPostsWaiting =
    "Too many web hook posts waiting: this one was dropped.";

// The conversation of one post: the error text, empty when the server took
// it. The poster's own is SendWebHookPost with the job's deadline.
using WebHookDelivery = std::function<std::string(const WebHookPost& post, int cancelFd)>;

// Four posts at once, a thousand waiting, ten seconds each.
JobPoolLimits DefaultWebHookLimits();

class CWebHookPoster {  // owns the post threads
public:
    // A null queue runs no completions: every failure goes to the debug output.
    explicit CWebHookPoster(platform::IUiQueue* queue,
                            JobPoolLimits limits = DefaultWebHookLimits(),
                            WebHookDelivery delivery = {});
    CWebHookPoster(const CWebHookPoster&) = delete;
    CWebHookPoster& operator=(const CWebHookPoster&) = delete;

    // Starts or queues the post and returns its identifier (never 0). The
    // completion runs on the user-interface thread with the error text, empty
    // on success. Without a completion (or a queue), or when unattended, a
    // failure is written to the debug output as well.
    std::uint32_t Start(WebHookPost post, JobCompletion completion = {});
    void SetUnattended(bool unattended) { pool_.SetUnattended(unattended); }

    std::size_t RunningPosts() { return pool_.RunningJobs(); }
    std::size_t WaitingPosts() { return pool_.WaitingJobs(); }

private:
    const WebHookDelivery delivery_;
    CJobPool pool_;
};

}  // namespace mail
