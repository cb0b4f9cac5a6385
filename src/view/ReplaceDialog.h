#pragma once
// The Replace dialog: what to look for, what to put in its place and how to
// match it. It only collects the request; the view does the finding and
// replacing. The fields are remembered in the store whenever one of its
// actions is used.

#include <QDialog>

#include "view/SearchSettings.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace view {

class CReplaceDialog : public QDialog {
    Q_OBJECT
public:
    // Starts with the fields remembered in the store.
    explicit CReplaceDialog(QWidget* parent = nullptr);

    ReplaceRequest Request() const;
    void SetRequest(const ReplaceRequest& request);
    void SetFindText(const QString& text);

    QLineEdit* FindEdit() const { return findEdit_; }
    QLineEdit* ReplaceEdit() const { return replaceEdit_; }
    QPushButton* FindNextButton() const { return findNextButton_; }
    QPushButton* ReplaceButton() const { return replaceButton_; }
    QPushButton* ReplaceAllButton() const { return replaceAllButton_; }

signals:
    void FindNext(const view::FindRequest& request);
    void Replace(const view::ReplaceRequest& request);
    void ReplaceAll(const view::ReplaceRequest& request);

private:
    // Saves the fields and gives the request, or nothing when there is
    // nothing to look for.
    bool TakeRequest(ReplaceRequest& request);
    void UpdateButtons();
    void SaveFields() const;

    QLineEdit* findEdit_ = nullptr;
    QLineEdit* replaceEdit_ = nullptr;
    QCheckBox* wholeWord_ = nullptr;
    QCheckBox* matchCase_ = nullptr;
    QCheckBox* regularExpression_ = nullptr;
    QPushButton* findNextButton_ = nullptr;
    QPushButton* replaceButton_ = nullptr;
    QPushButton* replaceAllButton_ = nullptr;
};

}  // namespace view
