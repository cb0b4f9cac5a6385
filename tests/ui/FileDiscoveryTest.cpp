// Opening several files at once from the main window, with real files and a
// real settings store: file sets with their menu, dialog and command-line
// switch, and the dialog of more recent files; the dialog that opens a
// journal, on a real journal, and the one that names a remote file or
// journal, with a real ssh configuration.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>
#include <vector>

#include <sys/stat.h>

#include "TestFolder.h"
#include "app/TarvikApp.h"
#include "app/ui/FileSetsMenu.h"
#include "app/ui/MainFrame.h"
#include "app/ui/RecentFilesMenu.h"
#include "discovery/ui/AutoOpenDialog.h"
#include "discovery/ui/FilePatternDialog.h"
#include "discovery/ui/ManageFileSetsDialog.h"
#include "discovery/ui/MoreRecentFilesDialog.h"
#include "streams/JournalWriter.h"
#include "streams/RemoteName.h"
#include "streams/ui/OpenJournalDialog.h"
#include "streams/ui/OpenRemoteDialog.h"

using app_ui::CMainFrame;

namespace {

// Answers every message box that opens and keeps its text.
class MessageBoxCatcher : public QObject {
public:
    QStringList texts;
    std::vector<QMessageBox::Icon> icons;

    MessageBoxCatcher() {
        connect(&timer_, &QTimer::timeout, this, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                texts << box->text();
                icons.push_back(box->icon());
                box->accept();
            }
        });
        timer_.start(0);
    }

private:
    QTimer timer_;
};

// Records messages instead of showing them.
class RecordingUi : public core::IUserInterface {
public:
    QStringList texts;
    std::vector<core::MessageIcon> icons;
    core::MessageAnswer ShowMessage(std::u16string_view text, core::MessageIcon icon,
                                    core::MessageButtons) override {
        texts << QString::fromStdU16String(std::u16string(text));
        icons.push_back(icon);
        return core::MessageAnswer::Ok;
    }
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
};

}  // namespace

class FileDiscoveryTest : public QObject {
    Q_OBJECT

private:
    ui_test::TestFolder dir_;

    static QStringList DocumentPaths(const app::CTarvikApp& app) {
        QStringList paths;
        for (const auto& doc : app.Documents()) {
            paths << QString::fromStdU16String(doc->GetPathName());
        }
        return paths;
    }

private slots:
    void init() { dir_.UseNextStore(); }

    void manageDialogRefusesBadNamesAndKeepsTheOffendingSetSelected() {
        RecordingUi ui;
        discovery_ui::CManageFileSetsDialog dialog({{u"Logs", {u"/a"}}, {u"Web", {}}}, &ui);
        // Nothing to edit until a set is selected.
        QVERIFY(!dialog.NameEdit()->isEnabled());
        dialog.NewSet();
        QCOMPARE(dialog.SetList()->topLevelItemCount(), 3);
        QVERIFY(dialog.NameEdit()->isEnabled());
        dialog.accept();
        QCOMPARE(ui.texts, QStringList{"Please enter a set name"});
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        dialog.SetName("logs");
        dialog.accept();
        QCOMPARE(ui.texts.last(), QString("There's a duplicate record of set \"Logs\""));
        QCOMPARE(dialog.SetList()->currentItem()->text(0), QString("Logs"));
        QVERIFY(dialog.SetList()->currentItem()->isSelected());
        dialog.SelectSet(2);
        dialog.SetName("Mail\\");
        dialog.accept();
        QCOMPARE(ui.texts.last(),
                 QString("Backslash (\\) isn't allowed in set name. Please remove it."));
        QCOMPARE(dialog.SetList()->topLevelItem(2)->text(0), QString("Mail\\"));
        dialog.SetName("Mail");
        dialog.accept();
        QCOMPARE(ui.texts.size(), 3);
        QVERIFY(ui.icons == std::vector<core::MessageIcon>(3, core::MessageIcon::None));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Sets().back().name, std::u16string(u"Mail"));
    }

    void manageDialogAddsAndRemovesMembersWithTheirCount() {
        std::vector<std::u16string> chosen{u"/x/a.log", u"/x/b.log", u"/x/a.log"};
        discovery_ui::CManageFileSetsDialog dialog({{u"Web", {u"/x/b.log"}}}, nullptr, nullptr,
                                                   [&chosen](QWidget*) { return chosen; });
        dialog.SelectSet(0);
        dialog.AddFiles();
        QCOMPARE(dialog.SetList()->topLevelItem(0)->text(1), QString("2"));
        QCOMPARE(dialog.FileList()->topLevelItemCount(), 2);
        dialog.FileList()->topLevelItem(0)->setSelected(true);
        dialog.RemoveSelectedFiles();
        QCOMPARE(dialog.Sets()[0].paths, std::vector<std::u16string>{u"/x/a.log"});
        QCOMPARE(dialog.SetList()->topLevelItem(0)->text(1), QString("1"));
        dialog.DeleteSelectedSets();
        QVERIFY(dialog.Sets().empty());
    }

    void setsOpenFromTheMenuAndTheSSwitchReportingTheirFailuresOnce() {
        const QString first = dir_.WriteFile("set-a.log", "a\r\n");
        const QString second = dir_.WriteFile("set-b.log", "b\r\n");
        const QString missing = dir_.Path("gone.log");
        app::CTarvikApp app;
        CMainFrame frame(app);
        frame.show();
        QVERIFY(frame.FileSetsMenu()->SetNames().isEmpty());
        QVERIFY(frame.ApplyFileSets({{u"Web & Mail", ui_test::Paths({first, missing})},
                                     {u"Other", ui_test::Paths({second})}}));
        QCOMPARE(frame.FileSetsMenu()->SetNames().size(), 2);
        QVERIFY(frame.FileSetsMenu()->SetNames().contains("Web & Mail"));
        MessageBoxCatcher catcher;
        const int webId = 9000 + int(frame.FileSetsMenu()->SetNames().indexOf("Web & Mail"));
        QVERIFY(frame.FileSetsMenu()->Trigger(webId));
        QVERIFY(!frame.FileSetsMenu()->Trigger(9002));
        QCOMPARE(DocumentPaths(app), QStringList{first});
        QCOMPARE(catcher.texts,
                 QStringList{"Failed to load the following file(s).\n\n" + missing + "\n"});
        frame.OpenCommandLine({u"tarvik", u"-S", u"Other", u"-s", u"Nothing"});
        QCOMPARE(DocumentPaths(app), (QStringList{first, second}));
        QCOMPARE(catcher.texts.last(),
                 QString("File set \"Nothing\" is undefined or there aren't files in the set."));
        QCOMPARE(catcher.icons.back(), QMessageBox::NoIcon);
        QCOMPARE(catcher.texts.size(), 2);
    }

    void fileOpenReportsOneChosenFileAloneAndSeveralAsABatch() {
        const QString chosen = dir_.WriteFile("chosen.log", "c\r\n");
        const QString missing = dir_.Path("absent.log");
        app::CTarvikApp app;
        CMainFrame frame(app);
        frame.show();
        MessageBoxCatcher catcher;
        frame.OpenChosenFiles(ui_test::Paths({missing}));
        QCOMPARE(catcher.texts, QStringList{"Could not open file '" + missing + "'."});
        frame.OpenChosenFiles(ui_test::Paths({chosen, missing}));
        QCOMPARE(DocumentPaths(app), QStringList{chosen});
        QCOMPARE(catcher.texts.last(),
                 "Failed to load the following file(s).\n\n" + missing + "\n");
        // Chosen alone again, the open file is only activated.
        frame.OpenChosenFiles(ui_test::Paths({chosen}));
        QCOMPARE(DocumentPaths(app), QStringList{chosen});
        QCOMPARE(catcher.texts.size(), 2);
    }

    void moreRecentFilesOpensTheChosenAndDropsThoseThatFail() {
        const QString kept = dir_.WriteFile("kept.log", "k\r\n");
        const QString other = dir_.WriteFile("other.log", "o\r\n");
        const QString missing = dir_.Path("missing.log");
        app::CTarvikApp app;
        CMainFrame frame(app);
        frame.show();
        for (const QString& path : {other, missing, kept}) {
            frame.RecentFiles().Add(path.toStdU16String());
        }
        discovery_ui::CMoreRecentFilesDialog dialog(frame.RecentFiles().Entries());
        QCOMPARE(dialog.CountsText(), QString("Total: 3, Selected: 0"));
        QVERIFY(!dialog.OpenButton()->isEnabled());
        dialog.List()->item(2)->setSelected(true);
        dialog.List()->item(1)->setSelected(true);
        QCOMPARE(dialog.CountsText(), QString("Total: 3, Selected: 2"));
        QVERIFY(dialog.OpenButton()->isEnabled());
        const std::vector<std::u16string> chosen = dialog.SelectedPaths();
        QCOMPARE(chosen, ui_test::Paths({missing, other}));
        MessageBoxCatcher catcher;
        frame.OpenMoreRecentFiles(chosen);
        QCOMPARE(DocumentPaths(app), QStringList{other});
        QCOMPARE(catcher.texts.size(), 1);
        QCOMPARE(frame.RecentFiles().Entries(), ui_test::Paths({other, kept}));
    }

    void autoOpenDialogRefusesDuplicateRowsAndKeepsItsEdits() {
        RecordingUi ui;
        std::optional<settings::AutoOpenPattern> next =
            settings::AutoOpenPattern{u"/VAR/log", u"*.LOG"};
        discovery_ui::CAutoOpenDialog dialog(
            {{{u"/var/log/", u"*.log"}}, 5, false, 10, false}, &ui, nullptr,
            [&next](QWidget*, const settings::AutoOpenPattern&) { return next; });
        QVERIFY(!dialog.EditButton()->isEnabled());
        QVERIFY(dialog.RemoveAllButton()->isEnabled());
        QVERIFY(!dialog.MaxOpenFilesBox()->isEnabled());
        dialog.LimitBox()->setChecked(true);
        QVERIFY(dialog.MaxOpenFilesBox()->isEnabled());
        QCOMPARE(dialog.IntervalBox()->maximum(), 32767);
        dialog.AddRow();
        dialog.accept();
        QCOMPARE(ui.texts, QStringList{"There's a duplicated item in list at least. Please remove "
                                       "the item and then click OK."});
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        dialog.List()->topLevelItem(1)->setSelected(true);
        dialog.List()->setCurrentItem(dialog.List()->topLevelItem(1));
        QVERIFY(dialog.EditButton()->isEnabled());
        next = settings::AutoOpenPattern{u"/srv/app", u"run-??.log"};
        dialog.EditSelectedRow();
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const discovery_ui::AutoOpenSettings chosen = dialog.Settings();
        QCOMPARE(chosen.patterns, (std::vector<settings::AutoOpenPattern>{
                                      {u"/var/log/", u"*.log"}, {u"/srv/app/", u"run-??.log"}}));
        QCOMPARE(chosen.checkInterval, 5u);
        QVERIFY(chosen.limitOpenFiles);
        dialog.RemoveAllRows();
        QVERIFY(!dialog.RemoveAllButton()->isEnabled());
    }

    void filePatternDialogChecksFolderThenPatternAndShowsOnlyAnExistingFolder() {
        RecordingUi ui;
        QStringList shown;
        discovery_ui::CFilePatternDialog dialog({}, &ui, nullptr,
                                                [&shown](const QString& f) { shown << f; });
        dialog.accept();
        QCOMPARE(ui.texts.last(), QString("Please choose a folder to be monitored."));
        dialog.FolderEdit()->setText(dir_.Folder());
        dialog.accept();
        QCOMPARE(ui.texts.last(), QString("Please enter file name pattern."));
        dialog.OpenFolder();
        QCOMPARE(shown, QStringList{dir_.Folder()});
        dialog.FolderEdit()->setText(dir_.Path("absent"));
        dialog.OpenFolder();
        QCOMPARE(ui.texts.last(), "Folder \"" + dir_.Path("absent") + "\" isn't available.\n\n");
        dialog.FolderEdit()->setText(dir_.Folder());
        dialog.PatternEdit()->setText("*.log");
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Pattern().folder, (dir_.Folder() + "/").toStdU16String());
        QCOMPARE(ui.texts.size(), 3);
        // A folder typed relative to the current one is kept absolute.
        const QString current = QDir::currentPath();
        QDir::setCurrent(dir_.Folder());
        QVERIFY(QDir(dir_.Folder()).mkpath(QStringLiteral("logs")));
        dialog.FolderEdit()->setText(QStringLiteral("logs/"));
        dialog.accept();
        QDir::setCurrent(current);
        QCOMPARE(ui.texts.size(), 3);
        QCOMPARE(dialog.Pattern().folder, (dir_.Folder() + "/logs/").toStdU16String());
    }

    void openJournalDialogOffersTheFoldersValuesAndNamesTheChoice() {
        const QString folder = dir_.Path("journals");
        QVERIFY(QDir().mkpath(folder));
        std::vector<streams_test::TestEntry> entries = streams_test::Numbered(0, 12);
        for (std::size_t i = 0; i < entries.size(); ++i) {
            entries[i].unit = i % 3 == 0 ? "a.service" : i % 3 == 1 ? "b.service" : "c.service";
            entries[i].identifier = i % 2 ? "x" : "y";
            entries[i].host = i % 4 ? "web1" : "web2";
        }
        QVERIFY(streams_test::WriteJournal((folder + "/x.journal").toStdString(), entries));
        RecordingUi ui;
        streams_ui::COpenJournalDialog dialog({}, &ui);
        QVERIFY(!dialog.HostBox()->isEnabled());
        auto texts = [](const QListWidget* list) {
            QStringList shown;
            for (int row = 0; row < list->count(); ++row) shown << list->item(row)->text();
            return shown;
        };
        // The values follow the folder.
        dialog.FolderEdit()->setText(folder);
        emit dialog.FolderEdit()->editingFinished();
        QCOMPARE(texts(dialog.UnitList()), (QStringList{"a.service", "b.service", "c.service"}));
        QCOMPARE(texts(dialog.IdentifierList()), (QStringList{"x", "y"}));
        QCOMPARE(dialog.HostBox()->count(), 2);
        QVERIFY(dialog.HostBox()->isEnabled());
        QVERIFY(dialog.NoticeLabel()->isHidden());

        dialog.UnitList()->item(2)->setCheckState(Qt::Checked);
        dialog.UnitList()->item(0)->setCheckState(Qt::Checked);
        dialog.IdentifierList()->item(0)->setCheckState(Qt::Checked);
        dialog.HostBox()->setCurrentIndex(dialog.HostBox()->findText("web2"));
        dialog.PriorityBox()->setCurrentIndex(dialog.PriorityBox()->findData(3));
        dialog.findChild<QRadioButton*>("ThisBoot")->setChecked(true);
        dialog.show();
        QVERIFY(dialog.width() <= 1280 && dialog.height() <= 720);
        dialog.grab().save(TARVIK_ARTIFACTS_DIR "/OpenJournalDialog.png");
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(QString::fromStdU16String(dialog.Name()),
                 "journal:?boot=1&dir=" + folder +
                     "&host=web2&identifier=x&priority=3&unit=a.service&unit=c.service");
        QVERIFY(ui.texts.isEmpty());
        // The name opens a document the way a file chosen in File > Open does.
        {
            app::CTarvikApp app;
            CMainFrame frame(app);
            MessageBoxCatcher catcher;
            frame.OpenChosenFiles({dialog.Name()});
            QCOMPARE(DocumentPaths(app), QStringList{QString::fromStdU16String(dialog.Name())});
            QVERIFY(catcher.texts.isEmpty());
        }

        // A folder without journals: said below the lists, refused on OK;
        // the chosen units stay chosen.
        dialog.setResult(QDialog::Rejected);
        dialog.FolderEdit()->setText(dir_.Path("absent"));
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(ui.texts.size(), 1);
        QVERIFY(ui.texts.last().contains(dir_.Path("absent")));
        QCOMPARE(dialog.NoticeLabel()->text(), ui.texts.last());
        QCOMPARE(texts(dialog.UnitList()), (QStringList{"a.service", "c.service"}));
        QCOMPARE(dialog.HostBox()->count(), 0);
    }

    void openRemoteDialogOffersConfigAliasesNamesTheChoiceAndRefusesBadHostsAndPaths() {
        // Only plain aliases are offered, one of them from an included file;
        // an included FIFO neither blocks the dialog nor counts.
        QVERIFY(QDir().mkpath(dir_.Path("ssh/conf.d")));
        dir_.WriteFile("ssh/conf.d/more", "Host inner\n");
        QCOMPARE(mkfifo(dir_.Path("ssh/conf.d/pipe").toLocal8Bit().constData(), 0600), 0);
        const QString config =
            dir_.WriteFile("ssh/config",
                           "# mine\nHost web1 *.corp !bad db? -oProxyCommand=x\n"
                           "  HostName 10.0.0.1\nhost=web2 web1\nHOST \"two words\" \"db3\"\n"
                           "Match host web9\nInclude conf.d/*\n");
        streams_ui::COpenRemoteDialog dialog({}, nullptr, config.toStdString());
        QStringList offered;
        for (int row = 0; row < dialog.HostBox()->count(); ++row) {
            offered << dialog.HostBox()->itemText(row);
        }
        QCOMPARE(offered, (QStringList{"web1", "web2", "db3", "inner"}));
        QVERIFY(dialog.HostBox()->currentText().isEmpty());

        // Refused on OK with the reason in the dialog: no host, a host ssh
        // would take as an option, a relative path.
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(dialog.NoticeLabel()->text(), QString("Please enter a host."));
        const QString option = "-oProxyCommand=touch " + dir_.Path("owned");
        for (const auto& [host, path] : {std::pair{option, QString("/var/log/syslog")},
                                         std::pair{QString("web1"), QString("logs/app.log")}}) {
            dialog.HostBox()->setEditText(host);
            dialog.PathEdit()->setText(path);
            dialog.accept();
            QCOMPARE(dialog.result(), int(QDialog::Rejected));
            QVERIFY(!dialog.NoticeLabel()->isHidden());
            QVERIFY2(dialog.NoticeLabel()->text().contains(host == option ? host : path),
                     qPrintable(dialog.NoticeLabel()->text()));
            QVERIFY(dialog.Name().empty());
        }

        // A file in the remote home folder, and the journal of the same host.
        dialog.HostBox()->setEditText("admin@web1:2222");
        dialog.PathEdit()->setText("~/logs/app 1.log");
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(dialog.NoticeLabel()->isHidden());
        const std::u16string fileName = dialog.Name();
        QCOMPARE(QString::fromStdU16String(fileName),
                 QString("ssh://admin@web1:2222/~/logs/app 1.log"));
        dialog.setResult(QDialog::Rejected);
        dialog.JournalButton()->setChecked(true);
        QVERIFY(!dialog.PathEdit()->isEnabled());
        dialog.UnitsEdit()->setText("ssh, nginx.service");
        dialog.IdentifiersEdit()->setText("cron");
        dialog.PriorityBox()->setCurrentIndex(dialog.PriorityBox()->findData(4));
        dialog.findChild<QRadioButton*>("ThisBoot")->setChecked(true);
        dialog.show();
        QVERIFY(dialog.width() <= 1280 && dialog.height() <= 720);
        dialog.grab().save(TARVIK_ARTIFACTS_DIR "/OpenRemoteDialog.png");
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const std::u16string journalName = dialog.Name();
        QCOMPARE(QString::fromStdU16String(journalName),
                 QString("ssh://admin@web1:2222/journal?boot=1&identifier=cron&priority=4"
                         "&unit=nginx.service&unit=ssh.service"));

        // Started from a remote document's name, the dialog shows its choice
        // again; a journal folder it does not show is kept.
        for (const std::u16string& name :
             {fileName, journalName, std::u16string(u"ssh://web2/journal?dir=/srv/j&unit=a")}) {
            streams::RemoteQuery initial;
            std::u16string error;
            QVERIFY(streams::ParseRemoteName(name, initial, error));
            streams_ui::COpenRemoteDialog again(initial, nullptr, dir_.Path("none").toStdString());
            QCOMPARE(QString::fromStdU16String(again.Name()),
                     QString::fromStdU16String(name).replace("unit=a", "unit=a.service"));
        }
    }
};

QTEST_MAIN(FileDiscoveryTest)
#include "FileDiscoveryTest.moc"
