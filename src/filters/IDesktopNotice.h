#pragma once
// The port through which the desktop-notification action of a highlight
// filter shows a matched line on the desktop; the user interface implements
// it, and a program without a desktop leaves it out.

#include <string_view>

#include "filters/HighlightDocumentRef.h"
#include "filters/HighlightFilter.h"

namespace filters {

class IDesktopNotice {
public:
    virtual ~IDesktopNotice() = default;
    // logName: the document's path or the capture's title; line: the matched
    // line, lineIndex its 0-based index in the document (where activating
    // the notification brings the view). Returns at once.
    virtual void ShowHighlightNotice(std::u16string_view logName, std::u16string_view line,
                                     int lineIndex, const HighlightFilter& filter,
                                     DocumentRef document) = 0;
};

}  // namespace filters
