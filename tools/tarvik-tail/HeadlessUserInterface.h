#pragma once
// The user interface of a program without a screen: messages go to standard
// error, and a question is answered with its cautious choice (No, Cancel).
// A message may carry a file name or log text: written in the form of
// standard error, it keeps its own line breaks and shows any other control.

#include "TerminalText.h"
#include "core/IUserInterface.h"

namespace tail {

class CHeadlessUserInterface final : public core::IUserInterface {
public:
    explicit CHeadlessUserInterface(TextForm form) : form_(form) {}

    core::MessageAnswer ShowMessage(std::u16string_view text, core::MessageIcon icon,
                                    core::MessageButtons buttons) override;
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}

private:
    TextForm form_;
};

}  // namespace tail
