#include "HeadlessUserInterface.h"

#include <cstdio>
#include <string>

namespace tail {

core::MessageAnswer CHeadlessUserInterface::ShowMessage(std::u16string_view text,
                                                        core::MessageIcon /*icon*/,
                                                        core::MessageButtons buttons) {
    std::string line;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(u'\n', start);
        AppendText(line, text.substr(start, end - start), form_);
        line += '\n';
        if (end == std::u16string_view::npos) break;
        start = end + 1;
    }
    std::fflush(stdout);
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
    switch (buttons) {
        case core::MessageButtons::YesNo:
            return core::MessageAnswer::No;
        case core::MessageButtons::OkCancel:
        case core::MessageButtons::YesNoCancel:
            return core::MessageAnswer::Cancel;
        default:
            return core::MessageAnswer::Ok;
    }
}

}  // namespace tail
