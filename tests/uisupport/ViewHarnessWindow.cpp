#include "uisupport/ViewHarnessWindow.h"

#include <QApplication>
#include <QMenuBar>
#include <QStatusBar>
#include <algorithm>

#include "core/TarvikDoc.h"

namespace view {

namespace {

constexpr int kFirstNavigationCommand = kCmdNextHighlight;

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

core::MessageAnswer CViewHarnessWindow::ShowMessage(std::u16string_view text,
                                                    core::MessageIcon icon,
                                                    core::MessageButtons buttons) {
    return messages_.ShowMessage(text, icon, buttons);
}

void CViewHarnessWindow::BeginWaitCursor() {
    messages_.BeginWaitCursor();
}

void CViewHarnessWindow::EndWaitCursor() {
    messages_.EndWaitCursor();
}

}  // namespace view
