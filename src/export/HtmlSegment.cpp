#include "export/HtmlSegment.h"

#include <cstdio>

#include "platform/CodePage.h"

namespace exporting {

namespace {

int Red(std::uint32_t color) {
    return static_cast<int>(color & 0xFF);
}
int Green(std::uint32_t color) {
    return static_cast<int>((color >> 8) & 0xFF);
}
int Blue(std::uint32_t color) {
    return static_cast<int>((color >> 16) & 0xFF);
}

}  // namespace

std::string EscapeHtmlText(std::u16string_view text) {
    std::u16string escaped;
    escaped.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        switch (text[i]) {
            case u'&':
                escaped += u"&amp;";
                break;
            case u'"':
                escaped += u"&quot;";
                break;
            case u'<':
                escaped += u"&lt;";
                break;
            case u'>':
                escaped += u"&gt;";
                break;
            case u' ':
                if (i + 1 < text.size() && text[i + 1] == u' ') {
                    escaped += u" &nbsp;";
                    ++i;
                } else {
                    escaped += u' ';
                }
                break;
            default:
                escaped += text[i];
        }
    }
    return platform::Utf16ToUtf8(escaped);
}

std::string CssRgb(std::uint32_t color) {
    char text[32];
    std::snprintf(text, sizeof text, "rgb(%d, %d, %d)", Red(color), Green(color), Blue(color));
    return text;
}

std::string HtmlHexColor(std::uint32_t color) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", Red(color), Green(color), Blue(color));
    return text;
}

void WriteHtmlSegment(CExportFile& out, std::u16string_view text, std::uint32_t bkgColor,
                      std::uint32_t textColor, SegmentColors mode, const HtmlStyle& style) {
    const bool plain = mode == SegmentColors::PlainWhenDefault && bkgColor == style.defaultBkg &&
                       textColor == style.defaultText;
    if (!plain) {
        out.Write("<span style=\"background-color: " + CssRgb(bkgColor) + ";\">");
        out.Write("<span style=\"color: " + CssRgb(textColor) + ";\">");
    }
    out.Write(EscapeHtmlText(text));
    if (!plain) out.Write(std::string_view("</span></span>"));
}

}  // namespace exporting
