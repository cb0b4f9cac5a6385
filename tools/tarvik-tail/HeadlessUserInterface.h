#pragma once
// The user interface of a program without a screen: messages go to standard
// error, and a question is answered with its cautious choice (No, Cancel).

#include "core/IUserInterface.h"

namespace tail {

class CHeadlessUserInterface final : public core::IUserInterface {
public:
    core::MessageAnswer ShowMessage(std::u16string_view text, core::MessageIcon icon,
                                    core::MessageButtons buttons) override;
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
};

}  // namespace tail
