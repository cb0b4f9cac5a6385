#include "view/ReplaceDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace view {

CReplaceDialog::CReplaceDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Replace"));
    findEdit_ = new QLineEdit(this);
    replaceEdit_ = new QLineEdit(this);
    auto* findLabel = new QLabel(tr("Fi&nd what:"), this);
    findLabel->setBuddy(findEdit_);
    auto* replaceLabel = new QLabel(tr("Re&place with:"), this);
    replaceLabel->setBuddy(replaceEdit_);
    wholeWord_ = new QCheckBox(tr("Match &whole word only"), this);
    matchCase_ = new QCheckBox(tr("Match &case"), this);
    regularExpression_ = new QCheckBox(tr("Regular e&xpression"), this);

    findNextButton_ = new QPushButton(tr("&Find Next"), this);
    findNextButton_->setDefault(true);
    replaceButton_ = new QPushButton(tr("&Replace"), this);
    replaceAllButton_ = new QPushButton(tr("Replace &All"), this);
    auto* buttons = new QDialogButtonBox(Qt::Vertical, this);
    buttons->addButton(findNextButton_, QDialogButtonBox::ActionRole);
    buttons->addButton(replaceButton_, QDialogButtonBox::ActionRole);
    buttons->addButton(replaceAllButton_, QDialogButtonBox::ActionRole);
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::rejected, this, &CReplaceDialog::reject);
    connect(findEdit_, &QLineEdit::textChanged, this, &CReplaceDialog::UpdateButtons);
    connect(findNextButton_, &QPushButton::clicked, this, [this] {
        ReplaceRequest request;
        if (TakeRequest(request)) emit FindNext(request.find);
    });
    connect(replaceButton_, &QPushButton::clicked, this, [this] {
        ReplaceRequest request;
        if (TakeRequest(request)) emit Replace(request);
    });
    connect(replaceAllButton_, &QPushButton::clicked, this, [this] {
        ReplaceRequest request;
        if (TakeRequest(request)) emit ReplaceAll(request);
    });

    auto* texts = new QGridLayout;
    texts->addWidget(findLabel, 0, 0);
    texts->addWidget(findEdit_, 0, 1);
    texts->addWidget(replaceLabel, 1, 0);
    texts->addWidget(replaceEdit_, 1, 1);
    auto* fields = new QVBoxLayout;
    fields->addLayout(texts);
    fields->addWidget(wholeWord_);
    fields->addWidget(matchCase_);
    fields->addWidget(regularExpression_);
    fields->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(buttons);

    const SearchSettings stored = SearchSettings::Load(SearchDialogKind::Replace);
    ReplaceRequest request;
    request.find.text = QString::fromStdU16String(stored.findWhat);
    request.find.matchCase = stored.matchCase;
    request.find.wholeWord = stored.wholeWord;
    request.replaceWith = QString::fromStdU16String(stored.replaceWith);
    SetRequest(request);
}

ReplaceRequest CReplaceDialog::Request() const {
    ReplaceRequest request;
    request.find.text = findEdit_->text();
    request.find.matchCase = matchCase_->isChecked();
    request.find.wholeWord = wholeWord_->isChecked();
    request.find.regularExpression = regularExpression_->isChecked();
    request.find.down = true;
    request.replaceWith = replaceEdit_->text();
    return request;
}

void CReplaceDialog::SetRequest(const ReplaceRequest& request) {
    findEdit_->setText(request.find.text);
    matchCase_->setChecked(request.find.matchCase);
    wholeWord_->setChecked(request.find.wholeWord);
    regularExpression_->setChecked(request.find.regularExpression);
    replaceEdit_->setText(request.replaceWith);
    UpdateButtons();
}

void CReplaceDialog::SetFindText(const QString& text) {
    findEdit_->setText(text);
    findEdit_->selectAll();
}

bool CReplaceDialog::TakeRequest(ReplaceRequest& request) {
    request = Request();
    if (request.find.text.isEmpty()) return false;
    SaveFields();
    return true;
}

void CReplaceDialog::UpdateButtons() {
    const bool hasText = !findEdit_->text().isEmpty();
    findNextButton_->setEnabled(hasText);
    replaceButton_->setEnabled(hasText);
    replaceAllButton_->setEnabled(hasText);
}

void CReplaceDialog::SaveFields() const {
    SearchSettings settings;
    settings.findWhat = findEdit_->text().toStdU16String();
    settings.replaceWith = replaceEdit_->text().toStdU16String();
    settings.matchCase = matchCase_->isChecked();
    settings.wholeWord = wholeWord_->isChecked();
    settings.Save(SearchDialogKind::Replace);
}

}  // namespace view
