#include "export/SaveAs.h"

#include <functional>

#include "core/TarvikDoc.h"
#include "core/WaitCursor.h"
#include "export/ExportFile.h"
#include "export/HtmlPage.h"
#include "export/TextExport.h"
#include "filters/AsciiFold.h"
#include "platform/CodePage.h"

namespace exporting {

namespace {

bool WriteFile(const std::u16string& path, core::IUserInterface* ui,
               std::span<const platform::FileIdentity> openFiles,
               const std::function<void(CExportFile&)>& write) {
    bool saved = false;
    {
        core::CWaitCursor wait(ui);
        CExportFile out;
        if (out.Create(path, openFiles)) {
            write(out);
            saved = out.Close();
        }
    }
    if (!saved && ui) {
        ui->ShowMessage(u"Failed to save to file \"" + path + u"\".",
                        core::MessageIcon::Exclamation);
    }
    return saved;
}

}  // namespace

SaveFormat FormatOfName(std::u16string_view path) {
    const std::size_t slash = path.rfind(u'/');
    const std::u16string_view name =
        slash == std::u16string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind(u'.');
    if (dot == std::u16string_view::npos) return SaveFormat::Text;
    const std::u16string extension = filters::FoldedAsciiLower(name.substr(dot));
    return extension == u".htm" || extension == u".html" ? SaveFormat::Html : SaveFormat::Text;
}

std::vector<platform::FileIdentity> FilesOfDocuments(
    std::span<const core::CTarvikDoc* const> documents) {
    std::vector<platform::FileIdentity> files;
    for (const core::CTarvikDoc* doc : documents) {
        if (!doc || doc->IsStreamDocument()) continue;
        files.push_back(doc->FollowedFile());
        platform::FileIdentity named;
        if (platform::CFile::IdentityOfPath(platform::Utf16ToUtf8(doc->GetPathName()), named))
            files.push_back(named);
    }
    return files;
}

bool SaveDocumentAs(const std::u16string& path, const ExportDocument& doc, const HtmlStyle& style,
                    core::IUserInterface* ui, std::span<const platform::FileIdentity> openFiles) {
    return WriteFile(path, ui, openFiles, [&](CExportFile& out) {
        if (FormatOfName(path) == SaveFormat::Html) {
            WriteHtmlPage(out, doc, style);
        } else {
            WriteTextDocument(out, doc);
        }
    });
}

bool SaveDocumentsAs(const std::u16string& path, const std::vector<ExportDocument>& docs,
                     const SaveAllOptions& options, const HtmlStyle& style,
                     core::IUserInterface* ui, std::span<const platform::FileIdentity> openFiles) {
    return WriteFile(path, ui, openFiles, [&](CExportFile& out) {
        if (FormatOfName(path) == SaveFormat::Html) {
            WriteHtmlPages(out, docs, options.writeFilePath, style);
        } else {
            WriteTextDocuments(out, docs, options.writeFilePath, options.blankLines);
        }
    });
}

}  // namespace exporting
