#include "HeadlessUserInterface.h"

#include <cstdio>
#include <string>

#include "platform/CodePage.h"

namespace tail {

core::MessageAnswer CHeadlessUserInterface::ShowMessage(std::u16string_view text,
                                                        core::MessageIcon /*icon*/,
                                                        core::MessageButtons buttons) {
    const std::string line = platform::Utf16ToUtf8(text) + "\n";
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
