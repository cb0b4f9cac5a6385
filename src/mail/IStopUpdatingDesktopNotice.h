#pragma once
// The port through which the stop-updating notification also shows its
// notice on the desktop; the user interface implements it, and a program
// without a desktop leaves it out.

#include <string_view>

namespace mail {

class IStopUpdatingDesktopNotice {
public:
    virtual ~IStopUpdatingDesktopNotice() = default;
    // path: the quiet file; text: the notice, e.g. "No new lines in app.log
    // for 10 minutes". Returns at once.
    virtual void ShowStopUpdatingNotice(std::u16string_view path, std::u16string_view text) = 0;
};

}  // namespace mail
