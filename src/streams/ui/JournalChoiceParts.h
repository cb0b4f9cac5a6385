#pragma once
// The pieces of a journal choice that the dialogs of local and of remote
// journals share: the whole journal or this boot only, the highest
// priority, and the journal values' UTF-8 in the dialogs' texts.

#include <QString>
#include <QWidget>
#include <string>

class QComboBox;
class QRadioButton;

namespace streams_ui {

QString FromUtf8(const std::string& text);
std::string ToUtf8(const QString& text);

// "The whole journal" or "This boot only", side by side.
class CBootChoice : public QWidget {
    Q_OBJECT
public:
    explicit CBootChoice(bool thisBoot, QWidget* parent = nullptr);

    bool ThisBoot() const;

private:
    QRadioButton* whole_ = nullptr;
    QRadioButton* thisBoot_ = nullptr;
};

// A box of "any" and the eight priorities by name and number, maxPriority (-1: any)
// chosen; ChosenPriority reads the choice back.
QComboBox* MakePriorityBox(int maxPriority);
int ChosenPriority(const QComboBox* box);

}  // namespace streams_ui
