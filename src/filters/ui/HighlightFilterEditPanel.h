#pragma once
// The controls of the highlight filter selected in the dialog's list: its
// phrase (painted in the filter's colours), switches, colours, "Show as"
// text and the settings of the actions run when the phrase occurs. The panel
// only shows values and reports which setting the user changed; the dialog
// writes the change to the filter.

#include <QWidget>

#include <cstdint>

#include "filters/HighlightEditMarks.h"
#include "filters/HighlightFilter.h"
#include "filters/HighlightFilterValidation.h"

class QCheckBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace filters_ui {

class CHighlightFilterEditPanel : public QWidget {
    Q_OBJECT
public:
    explicit CHighlightFilterEditPanel(QWidget* parent = nullptr);

    // Shows the filter, or disables every control when there is none (the
    // controls keep what they showed, which a new filter starts from).
    void Load(const filters::HighlightFilter* filter);
    // Empties every control, colours back to those of ordinary text, and
    // disables them, as when the dialog opened without a selection.
    void Clear();
    // Copies the value of one setting from the controls into filter.
    void Apply(filters::HighlightSetting setting, filters::HighlightFilter& filter) const;
    // A new filter: empty phrase, enabled, with the colours, match case,
    // regular expression and entire-line settings the controls show now.
    filters::HighlightFilter NewFilter() const;
    // The control a failed check points the user to.
    QWidget* FieldControl(filters::HighlightField field) const;
    QLineEdit* PhraseEdit() const { return phrase_; }

signals:
    void settingEdited(filters::HighlightSetting setting);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QGroupBox* BuildFilterGroup();
    QGroupBox* BuildActionGroup();
    QCheckBox* Check(const QString& text, const char* name, filters::HighlightSetting setting);
    QLineEdit* Edit(const char* name, filters::HighlightSetting setting);
    QPushButton* Browser(const char* name, QLineEdit* target, bool save, const QString& filter);
    void ChooseFilterColor(bool text);
    void ShowColors();
    void UpdateEnabling();

    bool hasFilter_ = false;
    bool loading_ = false;
    std::uint32_t textColor_ = 0;
    std::uint32_t bkgColor_ = 0;
    QLineEdit* phrase_ = nullptr;
    QCheckBox* matchCase_ = nullptr;
    QCheckBox* regularExpression_ = nullptr;
    QPushButton* textColorButton_ = nullptr;
    QPushButton* bkgColorButton_ = nullptr;
    QCheckBox* entireLine_ = nullptr;
    QCheckBox* replaceWith_ = nullptr;
    QLineEdit* replaceText_ = nullptr;
    QCheckBox* enable_ = nullptr;
    QCheckBox* execute_ = nullptr;
    QLineEdit* program_ = nullptr;
    QPushButton* browseProgram_ = nullptr;
    QCheckBox* print_ = nullptr;
    QCheckBox* writeFile_ = nullptr;
    QLineEdit* writtenFile_ = nullptr;
    QPushButton* browseWrittenFile_ = nullptr;
    QCheckBox* timestamp_ = nullptr;
    QCheckBox* fileName_ = nullptr;
    QCheckBox* sendEmail_ = nullptr;
    QLineEdit* emails_ = nullptr;
    QSpinBox* attachPrevious_ = nullptr;
    QCheckBox* firstOccurred_ = nullptr;
    QLabel* firstOccurredText_ = nullptr;
    QCheckBox* desktopNotice_ = nullptr;
    QCheckBox* postWebHook_ = nullptr;
    QLineEdit* webHookUrl_ = nullptr;
    QLineEdit* webHookBody_ = nullptr;
    QCheckBox* onlyForFile_ = nullptr;
    QLineEdit* availableFile_ = nullptr;
    QPushButton* browseAvailableFile_ = nullptr;
};

}  // namespace filters_ui
