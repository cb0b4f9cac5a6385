#pragma once
// What an export needs of one document: its lines, the name it goes by, and
// how its view colours a line. The view stays where it is; the export asks it
// through the colouring function.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "core/CrystalTextBuffer.h"
#include "filters/HighlightColorizer.h"
#include "filters/HighlightOptions.h"
#include "filters/HighlightRun.h"

namespace core {
class CTarvikDoc;
}

namespace exporting {

// The colours of one line as the view draws them: colors come in preset with
// the view's default colours and may be replaced by an entire-line filter;
// runs come in empty and leave sorted and without overlaps.
using LineColorizer = std::function<void(std::u16string_view text, filters::LineColors& colors,
                                         filters::HighlightRunList& runs)>;

struct ExportDocument {
    const core::CCrystalTextBuffer* buffer = nullptr;
    // The full path; empty for the debug-output document.
    std::u16string path;
    bool capture = false;
    // Empty: every line in the default colours.
    LineColorizer colorize;

    // How lists and headings name it: the path, or the channel's name.
    std::u16string ListName() const;
};

ExportDocument DocumentToExport(const core::CTarvikDoc& doc, LineColorizer colorize);

// How the view and the system paint, for an HTML page.
struct HtmlStyle {
    // The page's background and text: the system window colours, 0x00BBGGRR.
    std::uint32_t windowColor = 0xFFFFFF;
    std::uint32_t windowTextColor = 0;
    // The view's default colours, which plain text is written without.
    std::uint32_t defaultText = 0;
    std::uint32_t defaultBkg = 0xFFFFFF;
    // The face name of the display font.
    std::u16string fontFace;
    filters::HighlightOptions highlight;
};

}  // namespace exporting
