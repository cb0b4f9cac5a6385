#include "view/ViewHarnessWindow.h"

#include <QApplication>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <algorithm>

#include "core/TarvikDoc.h"

namespace view {

namespace {

constexpr int kFirstNavigationCommand = kCmdNextHighlight;

QMessageBox::Icon IconOf(app::MessageIcon icon) {
    switch (icon) {
        case app::MessageIcon::Information:
            return QMessageBox::Information;
        case app::MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case app::MessageIcon::Question:
            return QMessageBox::Question;
        case app::MessageIcon::Stop:
            return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ButtonsOf(app::MessageButtons buttons) {
    switch (buttons) {
        case app::MessageButtons::Ok:
            return QMessageBox::Ok;
        case app::MessageButtons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case app::MessageButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case app::MessageButtons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

app::MessageAnswer AnswerOf(int button) {
    switch (button) {
        case QMessageBox::Cancel:
            return app::MessageAnswer::Cancel;
        case QMessageBox::Yes:
            return app::MessageAnswer::Yes;
        case QMessageBox::No:
            return app::MessageAnswer::No;
        default:
            return app::MessageAnswer::Ok;
    }
}

}  // namespace

CViewHarnessWindow::CViewHarnessWindow(app::CTarvikApp& app)
    : app_(app), colors_(app.HighlightFilters(), app.GetOptions()) {
    view_ = new CTarvikView(app_.GetOptions(), this);
    view_->SetColorProvider(&colors_);
    setCentralWidget(view_);
    caretPane_ = new QLabel(view_->CaretStatusText(), this);
    statusBar()->addPermanentWidget(caretPane_);
    connect(view_, &CCrystalTextView::CaretStatusChanged, caretPane_, &QLabel::setText);
    BuildMenus();
    connect(&refresh_, &QTimer::timeout, this, [this] { app_.OnRefreshTick(); });
    RestartRefreshTimer(app_.GetOptions().IntervalChkFile);
    resize(1000, 700);
}

CViewHarnessWindow::~CViewHarnessWindow() {
    refresh_.stop();
}

void CViewHarnessWindow::BuildMenus() {
    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    for (const int id : {kCmdEditUndo, kCmdEditRedo, kCmdEditCut, kCmdEditCopy, kCmdEditPaste,
                         kCmdEditClear, kCmdEditSelectAll, kCmdEditFind, kCmdEditRepeat,
                         kCmdEditReplace, kCmdFilePrint, kCmdFilePrintPreview}) {
        edit->addAction(view_->Action(id));
    }
    QMenu* go = menuBar()->addMenu(tr("&View"));
    for (const int id : {kFirstNavigationCommand, int{kCmdPreviousHighlight}, int{kCmdNextRedLine},
                         int{kCmdPreviousRedLine}, int{kCmdClearRedLines}, int{kCmdGoToLine},
                         int{kCmdGoToEndMenu}, int{kCmdToggleBookmark}, int{kCmdNextBookmark},
                         int{kCmdPreviousBookmark}, int{kCmdClearBookmarks}}) {
        go->addAction(view_->Action(id));
    }
    QMenu* numbered = menuBar()->addMenu(tr("&Bookmarks"));
    for (int n = 0; n < core::kNumberedBookmarkCount; ++n) {
        numbered->addAction(view_->Action(kCmdToggleNumbered0 + n));
    }
    for (int n = 0; n < core::kNumberedBookmarkCount; ++n) {
        numbered->addAction(view_->Action(kCmdJumpNumbered0 + n));
    }
    numbered->addAction(view_->Action(kCmdClearNumbered));
}

core::ILogView* CViewHarnessWindow::CreateDocumentFrame(core::CTarvikDoc& doc) {
    view_->AttachDocument(&doc);
    return view_;
}

void CViewHarnessWindow::DestroyDocumentFrame(core::CTarvikDoc& doc) {
    if (view_->Document() == &doc) view_->AttachDocument(nullptr);
}

void CViewHarnessWindow::CreateTab(core::CTarvikDoc&, std::u16string_view displayName,
                                   std::u16string_view) {
    setWindowTitle(QString::fromStdU16String(std::u16string(displayName)));
}

void CViewHarnessWindow::RestartRefreshTimer(std::uint32_t periodMs) {
    refresh_.start(static_cast<int>(std::clamp<std::uint32_t>(periodMs, 10, 60000)));
}

app::MessageAnswer CViewHarnessWindow::ShowMessage(std::u16string_view text, app::MessageIcon icon,
                                                   app::MessageButtons buttons) {
    QMessageBox box(IconOf(icon), QApplication::applicationName(),
                    QString::fromStdU16String(std::u16string(text)), ButtonsOf(buttons), this);
    return AnswerOf(box.exec());
}

void CViewHarnessWindow::BeginWaitCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void CViewHarnessWindow::EndWaitCursor() {
    QApplication::restoreOverrideCursor();
}

}  // namespace view
