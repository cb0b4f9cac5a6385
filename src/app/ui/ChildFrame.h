#pragma once
// The window of one document inside the main window: it holds the
// document's log view, takes the position remembered for the file when it
// is first activated and remembers its position and maximized state when
// it goes.

#include <QMdiSubWindow>

namespace app {
class CTarvikApp;
}
namespace core {
class CTarvikDoc;
}
namespace view {
class CTarvikView;
class ILineColorProvider;
}  // namespace view

namespace app_ui {

class CChildFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    CChildFrame(app::CTarvikApp& app, core::CTarvikDoc& doc, const view::ILineColorProvider* colors,
                QWidget* parent = nullptr);
    ~CChildFrame() override;

    core::CTarvikDoc& Document() const { return doc_; }
    view::CTarvikView* View() const { return view_; }

    // Called at every activation; only the first one places the window: at
    // the stored rectangle, and maximized when no other document window was
    // active and MaxChildFrame asks for it.
    void OnActivated(bool anotherFrameWasActive);
    bool WasActivated() const { return activatedOnce_; }
    // Whether another document window was active when this one was created.
    void SetOpenedBesideAnother(bool another) { openedBesideAnother_ = another; }
    bool OpenedBesideAnother() const { return openedBesideAnother_; }
    // The document opened: from now on its placement is worth keeping.
    void SetDocumentOpened() { documentOpened_ = true; }
    // Keeps MaxChildFrame and, unless maximized, the window rectangle of the
    // document. Runs once, before the window is destroyed; a document that
    // never opened leaves the stored placement alone.
    void RememberPlacement();
    // Closes the window for good: the document is already gone.
    void CloseFromHost();

signals:
    // The user closed the window: the document is to be closed.
    void closeRequested(app_ui::CChildFrame* frame);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    app::CTarvikApp& app_;
    core::CTarvikDoc& doc_;
    view::CTarvikView* view_ = nullptr;
    bool activatedOnce_ = false;
    bool openedBesideAnother_ = false;
    bool placementRemembered_ = false;
    bool documentOpened_ = false;
    bool closingFromHost_ = false;
};

}  // namespace app_ui
