#pragma once
// What the engine asks of the user interface: message boxes with the
// program's fixed texts and the wait cursor. A text is shown as it is, never
// as markup: it may hold a path or a line of log text. Headless programs answer these
// without a screen; tests use fakes.

#include <string_view>

namespace core {

// None is a plain box without an icon.
enum class MessageIcon { Information, Exclamation, Question, Stop, None };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

class IUserInterface {
public:
    virtual ~IUserInterface() = default;

    virtual MessageAnswer ShowMessage(std::u16string_view text, MessageIcon icon,
                                      MessageButtons buttons = MessageButtons::Ok) = 0;

    // Nested calls are allowed; the cursor returns after the last end.
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;
};

}  // namespace core
