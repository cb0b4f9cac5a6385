#pragma once
// The port through which the web hook action of a highlight filter hands a
// matched line to the poster, which fills in the body, posts it away from
// the user-interface thread and keeps its record beside the e-mails'.

#include <optional>
#include <string_view>

#include "filters/HighlightDocumentRef.h"
#include "filters/HighlightFilter.h"

namespace filters {

class IHighlightWebHook {
public:
    virtual ~IHighlightWebHook() = default;
    // As IHighlightMail::SendHighlightMail: returns at once.
    virtual void PostHighlightWebHook(std::u16string_view logName, std::u16string_view line,
                                      std::optional<std::u16string_view> previousLines,
                                      const HighlightFilter& filter, DocumentRef document) = 0;
};

}  // namespace filters
