#pragma once
// HTML pages of documents as the view shows them: each line with its
// highlight colours, one or several documents in a page.

#include <string_view>
#include <vector>

#include "export/ExportDocument.h"
#include "export/ExportFile.h"

namespace exporting {

inline constexpr std::string_view kGeneratorName = "Ostra Tarvik (Unicode)";
// The product's web address, named in every page and in the About box.
inline constexpr std::string_view kProductWebAddress = "https://ostra-tarvik.example.org";

// One document's lines, in the display font, each line ended by "<br>".
void WriteHtmlBody(CExportFile& out, const ExportDocument& doc, const HtmlStyle& style);

// A page of one document, titled with its path.
void WriteHtmlPage(CExportFile& out, const ExportDocument& doc, const HtmlStyle& style);
// A page of several documents in the given order; with writeFilePath a list
// of links first and a heading before each document.
void WriteHtmlPages(CExportFile& out, const std::vector<ExportDocument>& docs, bool writeFilePath,
                    const HtmlStyle& style);

}  // namespace exporting
