#pragma once
// The user interface of a program without a screen: messages go to standard
// error, and a question is answered with its cautious choice (No, Cancel).

#include "app/IUserInterface.h"

namespace tail {

class CHeadlessUserInterface final : public app::IUserInterface {
public:
    app::MessageAnswer ShowMessage(std::u16string_view text, app::MessageIcon icon,
                                   app::MessageButtons buttons) override;
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
};

}  // namespace tail
