#pragma once
// The port through which the e-mail action of a highlight filter hands a
// matched line to the mail subsystem, which composes the message, starts its
// delivery and keeps its record.

#include <optional>
#include <string_view>

#include "filters/HighlightDocumentRef.h"
#include "filters/HighlightFilter.h"

namespace filters {

class IHighlightMail {
public:
    virtual ~IHighlightMail() = default;
    // logName: the document's path or the capture's title. previousLines:
    // each followed by CR LF, possibly empty; none when none are handed over.
    // Returns at once; the delivery runs elsewhere.
    virtual void SendHighlightMail(std::u16string_view logName, std::u16string_view line,
                                   std::optional<std::u16string_view> previousLines,
                                   const HighlightFilter& filter, DocumentRef document) = 0;
};

}  // namespace filters
