#pragma once
// How the text of log lines and file names becomes output bytes. On a
// terminal a control character written as it is would be obeyed, not shown:
// a line or a file name could move the cursor, rewrite what was printed
// before, retitle the window or answer for the user. There every C0 control
// but the tab, DEL and every C1 control is shown in caret form instead
// ("^[" for ESC, "^?" for DEL, "M-^[" for U+009B). Elsewhere (a pipe, a file) the text stays
// exactly as read.

#include <string>
#include <string_view>

namespace tail {

enum class TextForm { AsRead, VisibleControls };

// The form for a descriptor: visible controls when it is a terminal.
TextForm TextFormFor(int descriptor);

// Appends text to out as UTF-8 in the given form.
void AppendText(std::string& out, std::u16string_view text, TextForm form);
// The same for text that is UTF-8 already (a file name as given).
void AppendUtf8Text(std::string& out, std::string_view utf8, TextForm form);

}  // namespace tail
