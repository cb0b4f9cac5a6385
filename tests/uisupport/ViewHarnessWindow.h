#pragma once
// A window showing one document in a log view, for tests and benchmarks of
// the view without the main frame. It is the documents' host: it gives the
// document its view and drives the refresh timer.

#include <QLabel>
#include <QMainWindow>
#include <QTimer>
#include <memory>

#include "app/TarvikApp.h"
#include "app/ui/MessageBoxUi.h"
#include "core/IDocumentHost.h"
#include "core/IUserInterface.h"
#include "view/FilterColorProvider.h"
#include "view/TarvikView.h"

namespace view {

class CViewHarnessWindow : public QMainWindow,
                           public core::IDocumentHost,
                           public core::IUserInterface {
    Q_OBJECT
public:
    explicit CViewHarnessWindow(app::CTarvikApp& app);
    ~CViewHarnessWindow() override;

    CTarvikView* View() const { return view_; }

    // IDocumentHost
    core::ILogView* CreateDocumentFrame(core::CTarvikDoc& doc) override;
    void DestroyDocumentFrame(core::CTarvikDoc& doc) override;
    void CreateTab(core::CTarvikDoc& doc, std::u16string_view displayName,
                   std::u16string_view path) override;
    void RemoveTab(core::CTarvikDoc&) override {}
    void FlashTab(core::CTarvikDoc&) override {}
    void StopAllTabFlashing() override {}
    void BlinkTrayIcon() override {}
    bool IsActiveDocumentFrame(const core::CTarvikDoc&) const override { return isActiveWindow(); }
    bool IsApplicationActive() const override { return isActiveWindow(); }
    bool IsInTray() const override { return false; }
    void RestartRefreshTimer(std::uint32_t periodMs) override;

    // IUserInterface
    core::MessageAnswer ShowMessage(std::u16string_view text, core::MessageIcon icon,
                                    core::MessageButtons buttons) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;

private:
    void BuildMenus();

    app::CTarvikApp& app_;
    app_ui::CMessageBoxUi messages_{this};
    CFilterColorProvider colors_;
    CTarvikView* view_ = nullptr;
    QLabel* caretPane_ = nullptr;
    QTimer refresh_;
};

}  // namespace view
