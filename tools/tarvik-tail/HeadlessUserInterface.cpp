#include "HeadlessUserInterface.h"

#include <cstdio>
#include <string>

#include "platform/CodePage.h"

namespace tail {

app::MessageAnswer CHeadlessUserInterface::ShowMessage(std::u16string_view text,
                                                       app::MessageIcon /*icon*/,
                                                       app::MessageButtons buttons) {
    const std::string line = platform::Utf16ToUtf8(text) + "\n";
    std::fflush(stdout);
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
    switch (buttons) {
        case app::MessageButtons::YesNo:
            return app::MessageAnswer::No;
        case app::MessageButtons::OkCancel:
        case app::MessageButtons::YesNoCancel:
            return app::MessageAnswer::Cancel;
        default:
            return app::MessageAnswer::Ok;
    }
}

}  // namespace tail
