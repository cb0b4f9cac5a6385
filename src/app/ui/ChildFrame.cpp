#include "app/ui/ChildFrame.h"

#include <QCloseEvent>

#include "app/TarvikApp.h"
#include "core/TarvikDoc.h"
#include "view/TarvikView.h"

namespace app_ui {

CChildFrame::CChildFrame(app::CTarvikApp& app, core::CTarvikDoc& doc,
                         const view::ILineColorProvider* colors, QWidget* parent)
    : QMdiSubWindow(parent), app_(app), doc_(doc) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    view_ = new view::CTarvikView(app.GetOptions(), this);
    view_->SetColorProvider(colors);
    view_->LeaveShortcutsToHost();
    view_->AttachDocument(&doc);
    setWidget(view_);
    resize(600, 400);
}

// A closed document's window goes later, perhaps after the application and
// its options: it was detached when the document closed and touches nothing.
CChildFrame::~CChildFrame() {
    if (view_ && view_->Document()) view_->AttachDocument(nullptr);
}

void CChildFrame::OnActivated(bool anotherFrameWasActive) {
    if (activatedOnce_) return;
    activatedOnce_ = true;
    settings::WindowRect rect;
    if (app_.LoadDocPosition(doc_.GetPathName(), doc_.IsCaptureMode(), rect) && !rect.IsEmpty()) {
        setGeometry(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    }
    if (!anotherFrameWasActive && app_.GetOptions().MaxChildFrame) showMaximized();
}

void CChildFrame::RememberPlacement() {
    if (placementRemembered_ || !documentOpened_) return;
    placementRemembered_ = true;
    const bool maximized = isMaximized();
    app_.GetOptions().MaxChildFrame = maximized;
    // A maximized window has no position of its own worth keeping.
    if (maximized || isMinimized()) return;
    const QRect area = geometry();
    const settings::WindowRect rect{area.left(), area.top(), area.left() + area.width(),
                                    area.top() + area.height()};
    app_.SaveDocPosition(doc_.GetPathName(), doc_.IsCaptureMode(), rect);
}

void CChildFrame::CloseFromHost() {
    closingFromHost_ = true;
    close();
}

void CChildFrame::closeEvent(QCloseEvent* event) {
    if (closingFromHost_) {
        QMdiSubWindow::closeEvent(event);
        return;
    }
    // The document decides; its closing comes back through CloseFromHost.
    event->ignore();
    emit closeRequested(this);
}

}  // namespace app_ui
