#pragma once
// Opens files for the batch rules (File Open with several files, command
// lines, file sets) on behalf of the application and its main window.

#include <functional>
#include <string>

#include "discovery/IBatchOpenTarget.h"

namespace app {
class CTarvikApp;
}  // namespace app

namespace core {
class CTarvikDoc;
class IUserInterface;
}  // namespace core

namespace app_ui {

class CBatchOpenAdapter : public discovery::IBatchOpenTarget {
public:
    using Activate = std::function<void(core::CTarvikDoc&)>;

    // activate brings a document's window to the front.
    CBatchOpenAdapter(app::CTarvikApp& app, core::IUserInterface& ui, Activate activate);

    bool OpenDocumentQuietly(const std::u16string& path, int goToLine) override;
    bool GoToLineInOpenDocument(const std::u16string& path, int line) override;
    // Activates the capture document, creating it when needed.
    void StartDebugCapture() override;
    void OpenFileSet(const std::u16string& name, int goToLine) override;
    void ReportBatchFailures(const std::u16string& message) override;

    // The open document of path, compared without regard to case; null when none.
    core::CTarvikDoc* FindDocument(const std::u16string& path) const;

private:
    app::CTarvikApp& app_;
    core::IUserInterface& ui_;
    Activate activate_;
};

}  // namespace app_ui
