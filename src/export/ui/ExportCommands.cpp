#include "export/ui/ExportCommands.h"

#include <QFontInfo>
#include <QPalette>
#include <utility>

#include "core/SizeFormat.h"
#include "core/TarvikDoc.h"
#include "export/SaveAs.h"
#include "export/ui/SaveAllAsDialog.h"
#include "export/ui/SaveFileDialog.h"
#include "settings/OptionsStore.h"
#include "view/ColorRef.h"
#include "view/TarvikView.h"

namespace exporting_ui {

exporting::ExportDocument ExportOfView(const view::CTarvikView& view) {
    exporting::LineColorizer colorize;
    if (const view::ILineColorProvider* provider = view.ColorProvider()) {
        colorize = [provider](std::u16string_view text, filters::LineColors& colors,
                              filters::HighlightRunList& runs) {
            provider->GetLineColors(text, filters::ColorizeMode::Drawing, colors, runs);
        };
    }
    return exporting::DocumentToExport(*view.Document(), std::move(colorize));
}

exporting::HtmlStyle HtmlStyleOfView(const view::CTarvikView& view) {
    exporting::HtmlStyle style;
    // The view paints in the window colours, so the page and the view's
    // defaults are the same two.
    style.windowColor = view::ToColorRef(view.palette().color(QPalette::Base));
    style.windowTextColor = view::ToColorRef(view.palette().color(QPalette::Text));
    style.defaultBkg = style.windowColor;
    style.defaultText = style.windowTextColor;
    // The face actually drawn: a stored face this system lacks would leave
    // the browser to pick any font, most likely a proportional one.
    style.fontFace = QFontInfo(view.TextFont()).family().toStdU16String();
    if (view.ColorProvider()) style.highlight = view.ColorProvider()->Options();
    return style;
}

namespace {

// The documents still open among docs, as exports, with the style of the
// first one's view.
std::vector<exporting::ExportDocument> OpenExports(const std::vector<const core::CTarvikDoc*>& docs,
                                                   const ViewOfDocument& viewOf,
                                                   exporting::HtmlStyle& style) {
    std::vector<exporting::ExportDocument> exports;
    for (const core::CTarvikDoc* doc : docs) {
        const view::CTarvikView* view = viewOf(doc);
        if (!view || !view->Document()) continue;
        if (exports.empty()) style = HtmlStyleOfView(*view);
        exports.push_back(ExportOfView(*view));
    }
    return exports;
}

}  // namespace

void SaveDocumentAs(QWidget* parent, const core::CTarvikDoc* doc,
                    const std::vector<const core::CTarvikDoc*>& openDocs,
                    const ViewOfDocument& viewOf, core::IUserInterface* ui) {
    if (!viewOf(doc)) return;
    const QString path = AskSaveFileName(parent);
    if (path.isEmpty()) return;
    exporting::HtmlStyle style;
    const auto exports = OpenExports({doc}, viewOf, style);
    if (exports.empty()) return;
    exporting::SaveDocumentAs(path.toStdU16String(), exports.front(), style, ui,
                              exporting::FilesOfDocuments(openDocs));
}

void SaveDocumentsAs(QWidget* parent, const std::vector<const core::CTarvikDoc*>& docs,
                     const ViewOfDocument& viewOf, settings::Options& options,
                     core::IUserInterface* ui) {
    std::vector<SaveAllRow> rows;
    for (const core::CTarvikDoc* doc : docs) {
        if (!viewOf(doc)) continue;
        rows.push_back({QString::fromStdU16String(exporting::DocumentToExport(*doc, {}).ListName()),
                        QString::fromStdU16String(core::FormatBufferSize(doc->TextSize())), doc});
    }
    if (rows.empty()) return;
    CSaveAllAsDialog dialog(std::move(rows), options.WriteFilePath, options.BlankLines, parent);
    if (dialog.exec() != QDialog::Accepted) return;
    std::vector<const core::CTarvikDoc*> chosen;
    for (const void* key : dialog.Keys())
        chosen.push_back(static_cast<const core::CTarvikDoc*>(key));
    if (chosen.empty()) return;
    options.WriteFilePath = dialog.WriteFilePath();
    options.BlankLines = dialog.BlankLines();
    settings::SaveOptionGroups(options, settings::option_group::kSaveAll, false, nullptr);

    const QString path = AskSaveFileName(parent);
    if (path.isEmpty()) return;
    exporting::HtmlStyle style;
    const auto exports = OpenExports(chosen, viewOf, style);
    if (exports.empty()) return;
    exporting::SaveDocumentsAs(path.toStdU16String(), exports,
                               {options.WriteFilePath, options.BlankLines}, style, ui,
                               exporting::FilesOfDocuments(docs));
}

}  // namespace exporting_ui
