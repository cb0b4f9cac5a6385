#include "capture/CaptureTitle.h"

namespace capture {

std::u16string CaptureTitle(const settings::Options& options) {
    std::u16string title(kCaptureDocumentName);
    if (options.ODSAllProcess) return title + u" - All Processes";
    title += u" - Process <";
    for (const char c : std::to_string(options.ODSProcessID)) title += static_cast<char16_t>(c);
    return title + u">";
}

}  // namespace capture
