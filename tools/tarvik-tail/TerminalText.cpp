#include "TerminalText.h"

#include <unistd.h>

#include "platform/CodePage.h"

namespace tail {

namespace {

constexpr char16_t kDel = 0x7F;

bool IsControl(char16_t ch) {
    return (ch < 0x20 && ch != u'\t') || (ch >= kDel && ch <= 0x9F);
}

// ^@ .. ^_ for C0, ^? for DEL, and M- before the C0 form of a C1 control.
void AppendCaretForm(std::string& out, char16_t ch) {
    if (ch >= 0x80) out += "M-";
    const char16_t low = ch & 0x7F;
    out += '^';
    out += low == kDel ? '?' : static_cast<char>(low + 0x40);
}

}  // namespace

TextForm TextFormFor(int descriptor) {
    return isatty(descriptor) == 1 ? TextForm::VisibleControls : TextForm::AsRead;
}

void AppendText(std::string& out, std::u16string_view text, TextForm form) {
    if (form == TextForm::AsRead) {
        platform::AppendUtf8(out, text);
        return;
    }
    // Controls are single units outside the surrogates, so no cut between
    // them parts a surrogate pair.
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!IsControl(text[i])) continue;
        platform::AppendUtf8(out, text.substr(start, i - start));
        AppendCaretForm(out, text[i]);
        start = i + 1;
    }
    platform::AppendUtf8(out, text.substr(start));
}

void AppendUtf8Text(std::string& out, std::string_view utf8, TextForm form) {
    if (form == TextForm::AsRead) {
        out += utf8;
        return;
    }
    AppendText(out, platform::Utf8ToUtf16(utf8), form);
}

}  // namespace tail
