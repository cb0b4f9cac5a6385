#pragma once
// A user interface that remembers the messages shown and counts wait
// cursors; every box is answered Ok.

#include <string>
#include <vector>

#include "core/IUserInterface.h"

namespace app_test {

class RecordingUi final : public core::IUserInterface {
public:
    core::MessageAnswer ShowMessage(std::u16string_view text, core::MessageIcon icon,
                                    core::MessageButtons) override {
        messages.emplace_back(text);
        icons.push_back(icon);
        return core::MessageAnswer::Ok;
    }
    void BeginWaitCursor() override { ++waitCursors; }
    void EndWaitCursor() override {}

    std::vector<std::u16string> messages;
    std::vector<core::MessageIcon> icons;
    int waitCursors = 0;
};

}  // namespace app_test
