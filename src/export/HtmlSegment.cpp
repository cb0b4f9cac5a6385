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

namespace {

// Appends the entity of a character HTML gives meaning to; false for others.
bool AppendEntity(char16_t c, std::u16string& out) {
    switch (c) {
        case u'&':
            out += u"&amp;";
            return true;
        case u'"':
            out += u"&quot;";
            return true;
        case u'<':
            out += u"&lt;";
            return true;
        case u'>':
            out += u"&gt;";
            return true;
        default:
            return false;
    }
}

}  // namespace

std::string EscapeHtmlText(std::u16string_view text) {
    std::u16string escaped;
    escaped.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (AppendEntity(text[i], escaped)) continue;
        if (text[i] == u' ' && i + 1 < text.size() && text[i + 1] == u' ') {
            escaped += u" &nbsp;";
            ++i;
        } else {
            escaped += text[i];
        }
    }
    return platform::Utf16ToUtf8(escaped);
}

std::string EscapeHtmlName(std::u16string_view text) {
    std::u16string escaped;
    escaped.reserve(text.size());
    for (const char16_t c : text) {
        if (AppendEntity(c, escaped)) continue;
        if (c == u'\'') {
            escaped += u"&#39;";
        } else {
            escaped += c;
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
