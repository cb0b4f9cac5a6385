#pragma once
// The Find dialog: what to look for, how to match it and in which direction.
// It does no searching itself; Find Next hands the request to whoever listens
// and remembers the fields in the store for the next time.

#include <QDialog>

#include "view/SearchSettings.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace view {

class CFindDialog : public QDialog {
    Q_OBJECT
public:
    // Starts with the fields remembered in the store.
    explicit CFindDialog(QWidget* parent = nullptr);

    FindRequest Request() const;
    void SetRequest(const FindRequest& request);
    // Puts text (typically the view's selection) into the search field.
    void SetFindText(const QString& text);

    QLineEdit* FindEdit() const { return findEdit_; }
    QPushButton* FindNextButton() const { return findNextButton_; }

signals:
    void FindNext(const view::FindRequest& request);

private:
    void OnFindNext();
    void UpdateButtons();
    void SaveFields() const;

    QLineEdit* findEdit_ = nullptr;
    QCheckBox* wholeWord_ = nullptr;
    QCheckBox* matchCase_ = nullptr;
    QCheckBox* regularExpression_ = nullptr;
    QRadioButton* up_ = nullptr;
    QRadioButton* down_ = nullptr;
    QPushButton* findNextButton_ = nullptr;
};

}  // namespace view
