#include "app/ui/BoundCharactersDialog.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "app/ui/DialogText.h"

namespace app_ui {

namespace {

// The box keeps bare line feeds; the pairs text ends its lines with CR LF.
QString EditorText(const settings::BoundPairs& pairs) {
    QString text = ToQString(settings::BoundPairsText(pairs.left, pairs.right));
    text.remove(QLatin1Char('\r'));
    return text;
}

}  // namespace

CBoundCharactersDialog::CBoundCharactersDialog(const settings::BoundPairs& pairs, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(tr("Edit Bound Characters"));
    auto* hint =
        new QLabel(tr("One pair per line: the left character followed by the right one."), this);
    hint->setWordWrap(true);
    edit_ = new QPlainTextEdit(this);
    edit_->setObjectName(QStringLiteral("BoundPairs"));
    edit_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    edit_->setPlainText(EditorText(pairs));
    edit_->setTabChangesFocus(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    layout->addWidget(edit_);
    layout->addWidget(buttons);
    resize(320, 280);
}

settings::BoundPairs CBoundCharactersDialog::Pairs() const {
    return settings::ParseBoundPairs(ToU16(edit_->toPlainText()));
}

}  // namespace app_ui
