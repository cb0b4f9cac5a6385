#pragma once
// Documents as UTF-16 text: the byte-order mark, then lines separated by
// CR LF.

#include <vector>

#include "export/ExportDocument.h"
#include "export/ExportFile.h"

namespace exporting {

// Blank lines Save All As writes between documents, at most.
inline constexpr int kMaxBlankLines = 32767;

// The mark and the document's lines, no break after the last.
void WriteTextDocument(CExportFile& out, const ExportDocument& doc);
// The mark once; then per document its name and an empty line when
// writeFilePath, its lines, and blankLines line breaks (after the last
// document too), so one empty line less than blankLines separates two.
void WriteTextDocuments(CExportFile& out, const std::vector<ExportDocument>& docs,
                        bool writeFilePath, int blankLines);

}  // namespace exporting
