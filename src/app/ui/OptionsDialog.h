#pragma once
// The "Options" dialog: edits a copy of the general options, greys out the
// controls whose master option is off, checks the numbers on OK in a fixed
// order and then applies the copy to the application.

#include <QDialog>

#include <cstdint>
#include <utility>
#include <vector>

#include "app/OptionsApply.h"
#include "core/IUserInterface.h"

class QAbstractButton;
class QBoxLayout;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace app {
class CTarvikApp;
}

namespace app_ui {

class COptionsDialog : public QDialog {
    Q_OBJECT
public:
    // The association box shows whether .log files are associated with the
    // running program; OK changes the association only when the box changed.
    COptionsDialog(app::CTarvikApp& app, core::IUserInterface* ui, QWidget* parent = nullptr);

    // What the main frame has to do after the dialog was confirmed.
    const app::OptionsApplyEffects& Effects() const { return effects_; }
    // The options as the controls show them now.
    settings::Options EditedOptions() const;

public slots:
    void accept() override;

private:
    struct SpinRange {
        int typedMin;
        int typedMax;
        int stepMin;
        int stepMax;
    };

    QGroupBox* BuildGeneralGroup();
    QGroupBox* BuildStartupGroup();
    QGroupBox* BuildTrayGroup();
    QGroupBox* BuildTabGroup();
    QGroupBox* BuildViewGroup();
    QGroupBox* BuildPollingGroup();
    QGroupBox* BuildCaptureGroup();

    QCheckBox* AddCheck(QBoxLayout* layout, const QString& text, const char* name,
                        bool settings::Options::*option);
    QSpinBox* AddSpin(const char* name, std::int32_t settings::Options::*option, SpinRange range);
    QComboBox* AddArrangementBox();
    QComboBox* AddEncodingBox();
    void Depend(QAbstractButton* master, QWidget* dependent);
    void UpdateDependentControls();
    void EditBoundCharacters();
    void BrowseCaptureFile();
    QWidget* FieldControl(app::OptionsDialogField field) const;

    app::CTarvikApp& app_;
    core::IUserInterface* ui_;
    // The options being edited; the bound pairs change here when edited.
    settings::Options edited_;
    bool associationShown_;
    app::OptionsApplyEffects effects_;

    std::vector<std::pair<QCheckBox*, bool settings::Options::*>> checks_;
    std::vector<std::pair<QSpinBox*, std::int32_t settings::Options::*>> spins_;
    std::vector<std::pair<QAbstractButton*, QWidget*>> dependencies_;
    QCheckBox* associate_ = nullptr;
    QRadioButton* forcePoll_ = nullptr;
    QComboBox* arrangement_ = nullptr;
    QComboBox* encoding_ = nullptr;
    QLineEdit* captureFile_ = nullptr;
};

}  // namespace app_ui
