#pragma once
// A user interface that remembers the messages shown and answers Yes/No
// questions as the test sets; other boxes are answered Ok.

#include <QStringList>
#include <string>
#include <vector>

#include "core/IUserInterface.h"

namespace ui_test {

class RecordingUi final : public core::IUserInterface {
public:
    core::MessageAnswer ShowMessage(std::u16string_view text, core::MessageIcon icon,
                                    core::MessageButtons buttons) override {
        messages << QString::fromStdU16String(std::u16string(text));
        icons.push_back(icon);
        return buttons == core::MessageButtons::YesNo ? answer : core::MessageAnswer::Ok;
    }
    void BeginWaitCursor() override { ++waitCursors; }
    void EndWaitCursor() override {}

    QString Last() const { return messages.isEmpty() ? QString() : messages.last(); }

    QStringList messages;
    std::vector<core::MessageIcon> icons;
    core::MessageAnswer answer = core::MessageAnswer::No;
    int waitCursors = 0;
};

}  // namespace ui_test
