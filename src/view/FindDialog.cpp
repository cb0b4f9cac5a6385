#include "view/FindDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace view {

CFindDialog::CFindDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Find"));
    findEdit_ = new QLineEdit(this);
    auto* findLabel = new QLabel(tr("Fi&nd what:"), this);
    findLabel->setBuddy(findEdit_);
    wholeWord_ = new QCheckBox(tr("Match &whole word only"), this);
    matchCase_ = new QCheckBox(tr("Match &case"), this);
    regularExpression_ = new QCheckBox(tr("Regular e&xpression"), this);

    auto* direction = new QGroupBox(tr("Direction"), this);
    up_ = new QRadioButton(tr("&Up"), direction);
    down_ = new QRadioButton(tr("&Down"), direction);
    down_->setChecked(true);
    auto* directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(up_);
    directionLayout->addWidget(down_);

    findNextButton_ = new QPushButton(tr("&Find Next"), this);
    findNextButton_->setDefault(true);
    auto* buttons = new QDialogButtonBox(Qt::Vertical, this);
    buttons->addButton(findNextButton_, QDialogButtonBox::ActionRole);
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(findNextButton_, &QPushButton::clicked, this, &CFindDialog::OnFindNext);
    connect(buttons, &QDialogButtonBox::rejected, this, &CFindDialog::reject);
    connect(findEdit_, &QLineEdit::textChanged, this, &CFindDialog::UpdateButtons);

    auto* fields = new QVBoxLayout;
    auto* findRow = new QHBoxLayout;
    findRow->addWidget(findLabel);
    findRow->addWidget(findEdit_);
    fields->addLayout(findRow);
    fields->addWidget(wholeWord_);
    fields->addWidget(matchCase_);
    fields->addWidget(regularExpression_);
    fields->addWidget(direction);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(buttons);

    const SearchSettings stored = SearchSettings::Load(SearchDialogKind::Find);
    FindRequest request;
    request.text = QString::fromStdU16String(stored.findWhat);
    request.matchCase = stored.matchCase;
    request.wholeWord = stored.wholeWord;
    SetRequest(request);
}

FindRequest CFindDialog::Request() const {
    FindRequest request;
    request.text = findEdit_->text();
    request.matchCase = matchCase_->isChecked();
    request.wholeWord = wholeWord_->isChecked();
    request.regularExpression = regularExpression_->isChecked();
    request.down = down_->isChecked();
    return request;
}

void CFindDialog::SetRequest(const FindRequest& request) {
    findEdit_->setText(request.text);
    matchCase_->setChecked(request.matchCase);
    wholeWord_->setChecked(request.wholeWord);
    regularExpression_->setChecked(request.regularExpression);
    (request.down ? down_ : up_)->setChecked(true);
    UpdateButtons();
}

void CFindDialog::SetFindText(const QString& text) {
    findEdit_->setText(text);
    findEdit_->selectAll();
}

void CFindDialog::OnFindNext() {
    const FindRequest request = Request();
    if (request.text.isEmpty()) return;
    SaveFields();
    emit FindNext(request);
}

void CFindDialog::UpdateButtons() {
    findNextButton_->setEnabled(!findEdit_->text().isEmpty());
}

void CFindDialog::SaveFields() const {
    SearchSettings settings;
    settings.findWhat = findEdit_->text().toStdU16String();
    settings.matchCase = matchCase_->isChecked();
    settings.wholeWord = wholeWord_->isChecked();
    settings.Save(SearchDialogKind::Find);
}

}  // namespace view
