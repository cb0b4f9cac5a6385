// The main window as the documents' host: their windows and tabs, the new-data
// signals, the status panes and message boxes.

#include "app/ui/MainFrame.h"

#include <QMdiArea>
#include <QStyle>
#include <QTimer>
#include <algorithm>

#include "app/RefreshRate.h"
#include "app/StatusPaneText.h"
#include "app/TarvikApp.h"
#include "app/ui/ChildFrame.h"
#include "app/ui/DialogText.h"
#include "app/ui/RecentFilesMenu.h"
#include "app/ui/StatusPanes.h"
#include "app/ui/TabStrip.h"
#include "app/ui/TrayIcon.h"
#include "core/TarvikDoc.h"
#include "view/TarvikView.h"

namespace app_ui {

std::vector<CChildFrame*> CMainFrame::ChildFrames() const {
    std::vector<CChildFrame*> frames;
    for (QMdiSubWindow* window : mdiArea_->subWindowList(QMdiArea::CreationOrder)) {
        if (auto* frame = qobject_cast<CChildFrame*>(window)) frames.push_back(frame);
    }
    return frames;
}

CChildFrame* CMainFrame::ActiveChildFrame() const {
    return qobject_cast<CChildFrame*>(mdiArea_->currentSubWindow());
}

core::CTarvikDoc* CMainFrame::ActiveDocument() const {
    CChildFrame* frame = ActiveChildFrame();
    return frame ? &frame->Document() : nullptr;
}

CChildFrame* CMainFrame::FrameOf(const core::CTarvikDoc& doc) const {
    for (CChildFrame* frame : ChildFrames()) {
        if (&frame->Document() == &doc) return frame;
    }
    return nullptr;
}

void CMainFrame::ActivateDocument(core::CTarvikDoc& doc) {
    if (CChildFrame* frame = FrameOf(doc)) mdiArea_->setActiveSubWindow(frame);
}

core::ILogView* CMainFrame::CreateDocumentFrame(core::CTarvikDoc& doc) {
    auto* frame = new CChildFrame(app_, doc, &colors_);
    frame->setWindowIcon(style()->standardIcon(QStyle::SP_FileIcon));
    frame->SetOpenedBesideAnother(mdiArea_->currentSubWindow() != nullptr);
    mdiArea_->addSubWindow(frame);
    connect(frame, &CChildFrame::closeRequested, this,
            [this](CChildFrame* closing) { CloseDocument(closing->Document()); });
    // Copy and Cut follow the selection, so their shortcuts work the moment
    // there is one.
    connect(frame->View(), &view::CCrystalTextView::CaretStatusChanged, this, [this] {
        UpdateStatusPanes();
        commands_.UpdateStates();
    });
    // Leaving the maximized state puts back the caption the window had
    // before; it takes the active document's title again once that is done.
    connect(frame, &QMdiSubWindow::windowStateChanged, this,
            [this] { QTimer::singleShot(0, this, [this] { UpdateCaption(); }); });
    frame->show();
    return frame->View();
}

void CMainFrame::DestroyDocumentFrame(core::CTarvikDoc& doc) {
    CChildFrame* frame = FrameOf(doc);
    if (!frame) return;
    frame->RememberPlacement();
    if (lastActive_ == frame) lastActive_ = nullptr;
    // The document is going away: the view lets go of it at once, while the
    // window itself may be inside its own close handling and goes later.
    frame->View()->AttachDocument(nullptr);
    frame->CloseFromHost();
    mdiArea_->removeSubWindow(frame);
    frame->hide();
    frame->deleteLater();
    UpdateCaption();
    UpdateStatusPanes();
    commands_.UpdateStates();
}

void CMainFrame::DocumentTitleChanged(core::CTarvikDoc& doc) {
    CChildFrame* frame = FrameOf(doc);
    if (!frame) return;
    frame->setWindowTitle(ToQString(doc.GetTitle()));
    if (frame == ActiveChildFrame()) UpdateCaption();
}

void CMainFrame::DocumentStateChanged(core::CTarvikDoc& /*doc*/) {
    commands_.UpdateStates();
    UpdateStatusPanes();
}

QString CMainFrame::Caption() const {
    const QString title = QString::fromLatin1(kTitle);
    const core::CTarvikDoc* doc = ActiveDocument();
    if (!doc || doc->GetTitle().empty()) return title;
    return title + QStringLiteral(" - ") + ToQString(doc->GetTitle());
}

void CMainFrame::UpdateCaption() {
    // A maximized document window writes its own title into the caption.
    const CChildFrame* frame = ActiveChildFrame();
    if (frame && frame->isMaximized()) return;
    setWindowTitle(Caption());
}

void CMainFrame::CreateTab(core::CTarvikDoc& doc, std::u16string_view displayName,
                           std::u16string_view path) {
    CChildFrame* frame = FrameOf(doc);
    if (!frame) return;
    frame->setWindowTitle(ToQString(doc.GetTitle().empty() ? displayName : doc.GetTitle()));
    frame->SetDocumentOpened();
    tabStrip_->AddTab(frame, ToQString(displayName), ToQString(path));
    ScheduleSessionSave();
    // Only opened files: the capture document's name is no file, and one of
    // that name in some folder would open at a later start.
    if (recordRecent_ && !path.empty() && !doc.IsCaptureMode()) {
        recentMenu_->List().Add(std::u16string(path));
    }
    if (frame == mdiArea_->currentSubWindow()) {
        // Activated before the file was open: the stored position was not
        // known then.
        frame->OnActivated(frame->OpenedBesideAnother());
        tabStrip_->SelectTab(frame);
    }
}

void CMainFrame::RemoveTab(core::CTarvikDoc& doc) {
    if (CChildFrame* frame = FrameOf(doc)) tabStrip_->RemoveTab(frame);
    ScheduleSessionSave();
}

void CMainFrame::FlashTab(core::CTarvikDoc& doc) {
    if (CChildFrame* frame = FrameOf(doc)) tabStrip_->StartTabFlash(frame);
}

void CMainFrame::StopAllTabFlashing() {
    tabStrip_->StopAllTabFlash();
}

void CMainFrame::BlinkTrayIcon() {
    tray_->StartBlink();
}

bool CMainFrame::IsTrayBlinking() const {
    return tray_->IsBlinking();
}

core::TabFlashState CMainFrame::GetTabFlashState(const core::CTarvikDoc& doc) const {
    const CChildFrame* frame = FrameOf(doc);
    if (!frame) return {};
    return {tabStrip_->IsFlashing(frame), tabStrip_->IsFlashSuppressed(frame),
            tabStrip_->IsFlashRequested(frame)};
}

bool CMainFrame::IsActiveDocumentFrame(const core::CTarvikDoc& doc) const {
    const CChildFrame* frame = ActiveChildFrame();
    return frame && &frame->Document() == &doc;
}

void CMainFrame::RestartRefreshTimer(std::uint32_t periodMs) {
    refresh_.start(static_cast<int>(app::RunningRefreshPeriod(periodMs)));
    UpdateStatusPanes();
}

core::MessageAnswer CMainFrame::ShowMessage(std::u16string_view text, core::MessageIcon icon,
                                            core::MessageButtons buttons) {
    return messages_.ShowMessage(text, icon, buttons);
}

void CMainFrame::OnSubWindowActivated(QMdiSubWindow* window) {
    auto* previous = qobject_cast<CChildFrame*>(lastActive_.data());
    auto* current = qobject_cast<CChildFrame*>(window);
    if (previous == current) return;
    if (previous) app_.OnDocumentFrameActivated(previous->Document(), false);
    lastActive_ = window;
    if (current) {
        if (!current->Document().GetPathName().empty()) current->OnActivated(previous != nullptr);
        tabStrip_->SelectTab(current);
        app_.OnDocumentFrameActivated(current->Document(), true);
    }
    UpdateCaption();
    UpdateStatusPanes();
    commands_.UpdateStates();
}

void CMainFrame::OnApplicationStateChanged(Qt::ApplicationState state) {
    const bool active = state == Qt::ApplicationActive;
    if (active == applicationActive_) return;
    applicationActive_ = active;
    app_.OnApplicationActivated(active);
}

void CMainFrame::UpdateStatusPanes() {
    if (!panes_) return;
    const settings::Options& options = app_.GetOptions();
    const CChildFrame* frame = ActiveChildFrame();
    const core::CTarvikDoc* doc = frame ? &frame->Document() : nullptr;
    if (!doc) {
        panes_->SetMonitoring(CStatusPanes::Monitoring::NoDocument);
        panes_->SetCaretText(u"");
        panes_->SetTextLengthText(u"");
    } else {
        panes_->SetMonitoring(doc->IsMonitoring() ? CStatusPanes::Monitoring::Running
                                                  : CStatusPanes::Monitoring::Stopped);
        panes_->SetCaretText(frame->View()->CaretStatusText().toStdU16String());
        panes_->SetTextLengthText(doc->TextLengthText());
    }
    panes_->SetMaxBufferSizeText(app::MaxBufferSizePaneText(options));
    panes_->SetRefreshRateText(app::RefreshRatePaneText(options));
}

}  // namespace app_ui
