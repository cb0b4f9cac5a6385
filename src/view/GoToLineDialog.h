#pragma once
// Asks for a 1-based line number and refuses numbers outside the document,
// keeping the dialog open until a good number or Cancel.

#include <QDialog>
#include <QString>

#include <optional>

class QLabel;
class QLineEdit;

namespace view {

class CGoToLineDialog : public QDialog {
    Q_OBJECT
public:
    // lastLine is the number entered the previous time (1 at first).
    CGoToLineDialog(int lineCount, int lastLine, QWidget* parent = nullptr);

    // The accepted line, 1-based.
    int Line() const { return line_; }

    // The number in text when it lies in 1..lineCount, else nothing.
    static std::optional<int> ParseLine(const QString& text, int lineCount);
    static QString PromptText(int lineCount);
    static QString RangeMessage(int lineCount);

    QLineEdit* LineEdit() const { return edit_; }

public slots:
    void accept() override;

protected:
    // Shows the refusal; the dialog stays open afterwards.
    virtual void ShowRangeMessage(const QString& message);

private:
    int lineCount_;
    int line_;
    QLabel* prompt_ = nullptr;
    QLineEdit* edit_ = nullptr;
};

}  // namespace view
