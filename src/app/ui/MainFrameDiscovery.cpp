// The main window's ways of opening several files at once: file sets with
// their menu and dialog, and the dialog of more recent files; and the
// dialogs that open a journal or a remote file.

#include <QMenu>

#include "app/TarvikApp.h"
#include "app/ui/FileSetsMenu.h"
#include "app/ui/FrameCommandIds.h"
#include "app/ui/MainFrame.h"
#include "app/ui/RecentFilesMenu.h"
#include "core/TarvikDoc.h"
#include "discovery/BatchOpen.h"
#include "discovery/ui/AutoOpenDialog.h"
#include "discovery/ui/ManageFileSetsDialog.h"
#include "discovery/ui/MoreRecentFilesDialog.h"
#include "streams/JournalQuery.h"
#include "streams/RemoteName.h"
#include "streams/ui/OpenJournalDialog.h"
#include "streams/ui/OpenRemoteDialog.h"

namespace app_ui {

void CMainFrame::BuildDiscoveryMenus(QMenu* file) {
    commands_.Add(kCmdOpenMoreRecentFiles, tr("Open &More Recent Files..."), {},
                  [this] { ShowMoreRecentFilesDialog(); });
    fileSetsMenu_ = new CFileSetsMenu(file, this);
    // Both just below Open; the menu bar is the same with or without documents.
    QAction* afterOpen = commands_.Action(kCmdFileClose);
    file->insertMenu(afterOpen, fileSetsMenu_->Menu());
    file->insertAction(afterOpen, commands_.Action(kCmdOpenMoreRecentFiles));
    commands_.Add(kCmdAutoOpenNewFiles, tr("&Auto Open New Files..."), Qt::CTRL | Qt::Key_N,
                  [this] { ShowAutoOpenDialog(); });
    file->insertAction(afterOpen, commands_.Action(kCmdAutoOpenNewFiles));
    connect(fileSetsMenu_, &CFileSetsMenu::manageRequested, this,
            &CMainFrame::ShowManageFileSetsDialog);
    connect(fileSetsMenu_, &CFileSetsMenu::openRequested, this,
            [this](const QString& name) { OpenFileSet(name.toStdU16String()); });
}

void CMainFrame::OpenFileSet(const std::u16string& name) {
    batchOpen_.OpenFileSet(name, -1);
    commands_.UpdateStates();
}

bool CMainFrame::ApplyFileSets(const std::vector<settings::FileSet>& sets) {
    const bool saved = app_.SaveFileSets(sets);
    fileSetsMenu_->Rebuild();
    return saved;
}

void CMainFrame::ShowManageFileSetsDialog() {
    std::vector<settings::FileSet> sets;
    for (const std::u16string& name : app_.EnumFileSets()) {
        sets.push_back({name, app_.LoadFileSet(name)});
    }
    discovery_ui::CManageFileSetsDialog dialog(std::move(sets), this, this);
    if (dialog.exec() == QDialog::Accepted) ApplyFileSets(dialog.Sets());
}

void CMainFrame::OpenMoreRecentFiles(const std::vector<std::u16string>& paths) {
    for (const std::u16string& failed : discovery::OpenBatch(paths, batchOpen_)) {
        recentMenu_->List().Remove(failed);
    }
    commands_.UpdateStates();
}

void CMainFrame::ShowMoreRecentFilesDialog() {
    discovery_ui::CMoreRecentFilesDialog dialog(recentMenu_->List().Entries(), this);
    if (dialog.exec() == QDialog::Accepted) OpenMoreRecentFiles(dialog.SelectedPaths());
}

// The journal name goes the way of a file chosen in File > Open: an open
// document of the same name comes forward, else it opens and says why not.
void CMainFrame::ShowOpenJournalDialog() {
    // It starts from the active journal document's choice, to open a
    // neighbour of it.
    streams::JournalQuery initial;
    std::u16string ignored;
    if (const core::CTarvikDoc* doc = ActiveDocument()) {
        if (!streams::ParseJournalName(doc->GetPathName(), initial, ignored)) initial = {};
    }
    streams_ui::COpenJournalDialog dialog(initial, this, this);
    if (dialog.exec() == QDialog::Accepted) OpenChosenFiles({dialog.Name()});
}

// A remote name opens as the journal's does, from the active remote
// document's choice when there is one.
void CMainFrame::ShowOpenRemoteDialog() {
    streams::RemoteQuery initial;
    std::u16string ignored;
    if (const core::CTarvikDoc* doc = ActiveDocument()) {
        if (!streams::ParseRemoteName(doc->GetPathName(), initial, ignored)) initial = {};
    }
    streams_ui::COpenRemoteDialog dialog(initial, this);
    if (dialog.exec() == QDialog::Accepted) OpenChosenFiles({dialog.Name()});
}

void CMainFrame::ShowAutoOpenDialog() {
    const settings::Options& options = app_.GetOptions();
    discovery_ui::CAutoOpenDialog dialog(
        {app_.AutoOpenPatterns(), options.AOFCheckInterval, options.AOFEnableMaxOpenFileNum,
         options.AOFMaxOpenFiles, options.AOFOpenExistingFilesOnStartUp},
        this, this);
    if (dialog.exec() != QDialog::Accepted) return;
    discovery_ui::AutoOpenSettings chosen = dialog.Settings();
    app_.ApplyAutoOpen(std::move(chosen.patterns), chosen.checkInterval, chosen.limitOpenFiles,
                       chosen.maxOpenFiles, chosen.openExistingOnStartUp);
}

}  // namespace app_ui
