#pragma once
// "File Pattern": one watched folder and the file-name pattern looked for
// in it. OK refuses an empty folder or pattern and gives the folder its
// trailing separator.

#include <QDialog>
#include <functional>

#include "settings/AutoOpenPatternStore.h"

class QLineEdit;

namespace core {
class IUserInterface;
}

namespace discovery_ui {

class CFilePatternDialog : public QDialog {
    Q_OBJECT
public:
    // Shows a folder in the system's file browser; replaced in tests.
    using ShowFolder = std::function<void(const QString& folder)>;

    CFilePatternDialog(const settings::AutoOpenPattern& pattern, core::IUserInterface* ui,
                       QWidget* parent = nullptr, ShowFolder showFolder = {});

    settings::AutoOpenPattern Pattern() const;
    QLineEdit* FolderEdit() const { return folder_; }
    QLineEdit* PatternEdit() const { return pattern_; }

    // "&Open": the folder in the file browser, or a message when it is not there.
    void OpenFolder();
    void accept() override;

private:
    void Browse();

    core::IUserInterface* ui_;
    ShowFolder showFolder_;
    QLineEdit* folder_ = nullptr;
    QLineEdit* pattern_ = nullptr;
};

// A refusal: exclamation box through ui when there is one, else over parent.
void ShowAutoOpenMessage(core::IUserInterface* ui, QWidget* parent, const std::u16string& text,
                         bool warning);

}  // namespace discovery_ui
