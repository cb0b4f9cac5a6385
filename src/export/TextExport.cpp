#include "export/TextExport.h"

#include <algorithm>

namespace exporting {

namespace {

constexpr std::u16string_view kByteOrderMark = u"\xFEFF";
constexpr std::u16string_view kLineBreak = u"\r\n";

}  // namespace

void WriteTextDocument(CExportFile& out, const ExportDocument& doc) {
    out.Write(kByteOrderMark);
    out.WriteLines(*doc.buffer);
}

void WriteTextDocuments(CExportFile& out, const std::vector<ExportDocument>& docs,
                        bool writeFilePath, int blankLines) {
    const int breaks = std::clamp(blankLines, 0, kMaxBlankLines);
    out.Write(kByteOrderMark);
    for (const ExportDocument& doc : docs) {
        if (writeFilePath) {
            out.Write(doc.ListName());
            out.Write(kLineBreak);
            out.Write(kLineBreak);
        }
        out.WriteLines(*doc.buffer);
        for (int n = 0; n < breaks; ++n) out.Write(kLineBreak);
    }
}

}  // namespace exporting
