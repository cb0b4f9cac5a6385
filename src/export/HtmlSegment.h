#pragma once
// One stretch of a line in an HTML page: its characters made safe for HTML
// and, unless it is plain text in the default colours, wrapped in a
// background span and a text-colour span.

#include <cstdint>
#include <string>
#include <string_view>

#include "export/ExportDocument.h"
#include "export/ExportFile.h"

namespace exporting {

// "&", the double quote, "<" and ">" as entities, and each pair of spaces,
// from the left and without overlap, as one blank and "&nbsp;" (so runs of
// spaces keep their width in a browser). Apostrophes and tabs stay. In UTF-8.
std::string EscapeHtmlText(std::u16string_view text);

// "&", both quotes, "<" and ">" as entities, for names in element text and
// in quoted attributes. In UTF-8.
std::string EscapeHtmlName(std::u16string_view text);

// "rgb(r, g, b)" of a 0x00BBGGRR colour.
std::string CssRgb(std::uint32_t color);
// "#RRGGBB" of a 0x00BBGGRR colour.
std::string HtmlHexColor(std::uint32_t color);

enum class SegmentColors {
    // No spans when both colours are the view's defaults.
    PlainWhenDefault,
    Always,
};

void WriteHtmlSegment(CExportFile& out, std::u16string_view text, std::uint32_t bkgColor,
                      std::uint32_t textColor, SegmentColors mode, const HtmlStyle& style);

}  // namespace exporting
