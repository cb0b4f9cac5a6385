#pragma once
// Shows the wait cursor for the lifetime of a scope; does nothing without a
// user interface.

#include "core/IUserInterface.h"

namespace core {

class CWaitCursor {
public:
    explicit CWaitCursor(IUserInterface* ui) : ui_(ui) {
        if (ui_) ui_->BeginWaitCursor();
    }
    ~CWaitCursor() {
        if (ui_) ui_->EndWaitCursor();
    }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

private:
    IUserInterface* ui_;
};

}  // namespace core
