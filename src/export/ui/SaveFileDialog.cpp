#include "export/ui/SaveFileDialog.h"

#include <QFileDialog>

namespace exporting_ui {

namespace {

// The name each kind shows; the patterns it lists follow in brackets of
// their own, which the dialog keeps out of sight.
const QString kWebPageName = QStringLiteral("Web Page with Highlight Color (*.htm;*.html)");
const QString kPlainTextName = QStringLiteral("Plain-Text File (*.txt;*.log)");

// Starts with an empty name, asks before an existing file is replaced, and
// adds the extension of the chosen kind to a name without one.
void SetUpSaveFileDialog(QFileDialog& dialog) {
    dialog.setWindowTitle(QObject::tr("Save As"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    const QString webPage = kWebPageName + QStringLiteral(" (*.htm *.html)");
    dialog.setNameFilters({webPage, kPlainTextName + QStringLiteral(" (*.txt *.log)")});
    dialog.selectNameFilter(webPage);
    dialog.setDefaultSuffix(QStringLiteral("htm"));
    // The dialog reports the kind by the name it shows.
    QObject::connect(
        &dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
            dialog.setDefaultSuffix(filter.startsWith(kPlainTextName) ? QStringLiteral("txt")
                                                                      : QStringLiteral("htm"));
        });
    dialog.selectFile(QString());
}

}  // namespace

QString AskSaveFileName(QWidget* parent) {
    QFileDialog dialog(parent);
    SetUpSaveFileDialog(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

}  // namespace exporting_ui
