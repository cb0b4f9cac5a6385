#pragma once
// Standard output shared by the files being followed: text is collected and
// written at once per poll, and with several files a header "==> PATH <=="
// goes before each block that comes from another file than the last one.
// Names and lines are written in the output's text form, so that on a
// terminal no control character of theirs reaches it.

#include <string>
#include <string_view>

#include "TerminalText.h"

namespace tail {

class CTailOutput {
public:
    CTailOutput(bool headers, TextForm form) : headers_(headers), form_(form) {}

    TextForm Form() const { return form_; }

    // Text of the file named `name` (UTF-8) follows; the name is the block's
    // identity.
    void Begin(const std::string& name);
    // Text that is in the output's form already.
    void Write(std::string_view text) { pending_.append(text); }
    // Text of a line, put in the output's form.
    void WriteText(std::u16string_view text) { AppendText(pending_, text, form_); }
    // Writes what was collected to standard output and flushes it.
    void Flush();

private:
    bool headers_;
    TextForm form_;
    bool anyBlock_ = false;
    std::string current_;
    std::string pending_;
};

}  // namespace tail
