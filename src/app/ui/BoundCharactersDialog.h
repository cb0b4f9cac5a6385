#pragma once
// "Edit Bound Characters": the pairs between which a double-click selects
// text, one pair per line, the left character followed by the right one.

#include <QDialog>

#include "settings/BoundPairs.h"

class QPlainTextEdit;

namespace app_ui {

class CBoundCharactersDialog : public QDialog {
    Q_OBJECT
public:
    CBoundCharactersDialog(const settings::BoundPairs& pairs, QWidget* parent = nullptr);

    // The pairs read from the box; lines with fewer than two characters are
    // left out.
    settings::BoundPairs Pairs() const;

    QPlainTextEdit* Editor() const { return edit_; }

private:
    QPlainTextEdit* edit_ = nullptr;
};

}  // namespace app_ui
