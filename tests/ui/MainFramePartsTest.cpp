// The pieces the main window is built from: the command table, the queue to
// the user-interface thread, the font record of the Font command, the message
// box mapping and the batch opening on behalf of the application.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <atomic>
#include <thread>
#include <vector>

#include "TestFolder.h"
#include "app/TarvikApp.h"
#include "app/ui/BatchOpenAdapter.h"
#include "app/ui/CommandTable.h"
#include "app/ui/FontChoice.h"
#include "app/ui/FrameCommandIds.h"
#include "app/ui/MainFrame.h"
#include "app/ui/MessageBoxUi.h"
#include "app/ui/QtUiQueue.h"
#include "core/TarvikDoc.h"
#include "filters/ui/FilterFileUi.h"
#include "filters/ui/FilterImportMenu.h"
#include "filters/ui/ManagePresetFilesDialog.h"
#include "filters/ui/RegexHelp.h"
#include "platform/Registry.h"
#include "settings/PresetFileStore.h"
#include "settings/RegistryPaths.h"
#include "view/FontMapping.h"

namespace {

class RecordingUi final : public core::IUserInterface {
public:
    struct Shown {
        std::u16string text;
        core::MessageIcon icon;
    };
    std::vector<Shown> shown;

    core::MessageAnswer ShowMessage(std::u16string_view text, core::MessageIcon icon,
                                    core::MessageButtons) override {
        shown.push_back({std::u16string(text), icon});
        return core::MessageAnswer::Ok;
    }
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
};

}  // namespace

class MainFramePartsTest : public QObject {
    Q_OBJECT

private:
    ui_test::TestFolder dir_;

    QString WriteFile(const QString& name, const QByteArray& content) {
        return dir_.WriteFile(name, content);
    }

private slots:
    void initTestCase() { dir_.UseNextStore(); }

    void commandRulesDecideStatesAndRuns() {
        QWidget owner;
        app_ui::CCommandTable table(&owner);
        bool enabled = false;
        bool checked = true;
        int runs = 0;
        QAction* action = table.Add(
            1, "&Go", Qt::CTRL | Qt::Key_G, [&] { ++runs; }, [&] { return enabled; },
            [&] { return checked; });
        table.UpdateStates();
        QVERIFY(!action->isEnabled());
        QVERIFY(action->isCheckable());
        QVERIFY(action->isChecked());
        QVERIFY(!table.Run(1));
        // A stale enabled action still obeys the rule when triggered.
        action->setEnabled(true);
        action->trigger();
        QCOMPARE(runs, 0);
        enabled = true;
        checked = false;
        QVERIFY(table.Run(1));
        QCOMPARE(runs, 1);
        QVERIFY(action->isEnabled());
        QVERIFY(!action->isChecked());
        QCOMPARE(action->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_G));
        QVERIFY(!table.Run(2));
        QVERIFY(table.Action(2) == nullptr);
    }

    void postedTasksRunOnTheInterfaceThread() {
        app_ui::CQtUiQueue queue;
        std::atomic<bool> ranOnMainThread{false};
        std::atomic<int> count{0};
        QThread* mainThread = QThread::currentThread();
        std::thread worker([&] {
            for (int i = 0; i < 5; ++i) {
                queue.Post([&] {
                    ranOnMainThread = QThread::currentThread() == mainThread;
                    ++count;
                });
            }
            queue.Post({});
        });
        worker.join();
        QCOMPARE(count.load(), 0);
        QTRY_COMPARE(count.load(), 5);
        QVERIFY(ranOnMainThread.load());
        // Tasks still queued when the queue goes away are dropped.
        bool late = false;
        {
            app_ui::CQtUiQueue shortLived;
            shortLived.Post([&] { late = true; });
        }
        QCoreApplication::processEvents();
        QVERIFY(!late);
    }

    // The Font command offers fixed-width faces only, and a stored face that
    // is not installed shows as the face actually used.
    void fontDialogOffersFixedFacesAndTheFaceInUse() {
        app::CTarvikApp app;
        app.GetOptions().UFont.SetFaceName(u"No Such Face Tarvik");
        app_ui::CMainFrame frame(app);
        frame.show();
        bool monospacedOnly = false;
        QString shown;
        QTimer::singleShot(0, &frame, [&] {
            auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            monospacedOnly = dialog->testOption(QFontDialog::MonospacedFonts);
            shown = dialog->currentFont().family();
            dialog->reject();
        });
        QVERIFY(frame.RunCommand(app_ui::kCmdFont));
        QVERIFY(monospacedOnly);
        QVERIFY(!shown.isEmpty());
        QVERIFY(shown != QStringLiteral("No Such Face Tarvik"));
        // The face the views fall back to.
        QCOMPARE(shown, QFontInfo(app_ui::FontFromOptions(app.GetOptions())).family());
        QCOMPARE(QString::fromStdU16String(app.GetOptions().UFont.FaceName()),
                 QStringLiteral("No Such Face Tarvik"));
    }

    void chosenFontBecomesAFontRecord() {
        QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        font.setPixelSize(15);
        font.setBold(true);
        font.setItalic(true);
        const settings::LogFont record = app_ui::LogFontFromFont(font);
        QCOMPARE(record.lfHeight, -15);
        QCOMPARE(record.lfWeight, 700);
        QCOMPARE(record.lfItalic, std::uint8_t{1});
        QCOMPARE(QString::fromStdU16String(record.FaceName()), font.family());
        const QFont back = view::FontFromLogFont(record);
        QCOMPARE(back.pixelSize(), 15);
        QVERIFY(back.bold());

        QFont points = font;
        points.setPointSize(12);
        QCOMPARE(app_ui::LogFontFromFont(points).lfHeight, -16);
        QFont longName = font;
        longName.setFamily(QString(60, QLatin1Char('x')));
        QCOMPARE(app_ui::LogFontFromFont(longName).FaceName().size(),
                 settings::LogFont::kFaceNameChars - 1);
    }

    void messageBoxesTakeTheMatchingIconsAndButtons() {
        using app_ui::CMessageBoxUi;
        QCOMPARE(CMessageBoxUi::IconOf(core::MessageIcon::Stop), QMessageBox::Critical);
        QCOMPARE(CMessageBoxUi::IconOf(core::MessageIcon::Exclamation), QMessageBox::Warning);
        QCOMPARE(CMessageBoxUi::IconOf(core::MessageIcon::Question), QMessageBox::Question);
        QCOMPARE(CMessageBoxUi::IconOf(core::MessageIcon::Information), QMessageBox::Information);
        QCOMPARE(CMessageBoxUi::ButtonsOf(core::MessageButtons::YesNoCancel),
                 QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QCOMPARE(CMessageBoxUi::AnswerOf(QMessageBox::No), core::MessageAnswer::No);
        QCOMPARE(CMessageBoxUi::AnswerOf(QMessageBox::Cancel), core::MessageAnswer::Cancel);
        QCOMPARE(CMessageBoxUi::AnswerOf(QMessageBox::Ok), core::MessageAnswer::Ok);

        // A plain box has no icon, and a path that looks like markup shows
        // as it is.
        CMessageBoxUi boxes(nullptr);
        QMessageBox::Icon icon = QMessageBox::Warning;
        Qt::TextFormat format = Qt::AutoText;
        QString text;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            icon = box->icon();
            format = box->textFormat();
            text = box->text();
            box->accept();
        });
        boxes.ShowMessage(u"Could not open file '/l/<b>x</b>.log'.", core::MessageIcon::None);
        QCOMPARE(icon, QMessageBox::NoIcon);
        QCOMPARE(format, Qt::PlainText);
        QCOMPARE(text, QStringLiteral("Could not open file '/l/<b>x</b>.log'."));
    }

    void batchOpeningIsQuietAndFindsOpenDocumentsByTheirNormalPath() {
        const QString path = WriteFile("Batch.log", "one\r\ntwo\r\nthree\r\n");
        RecordingUi ui;
        app::CTarvikApp app;
        app.SetUserInterface(&ui);
        std::vector<core::CTarvikDoc*> activated;
        app_ui::CBatchOpenAdapter adapter(
            app, ui, [&](core::CTarvikDoc& doc) { activated.push_back(&doc); });
        QVERIFY(!adapter.OpenDocumentQuietly(dir_.Path("absent.log").toStdU16String(), -1));
        QVERIFY(ui.shown.empty());
        QVERIFY(adapter.OpenDocumentQuietly(path.toStdU16String(), -1));
        QCOMPARE(app.Documents().size(), std::size_t{1});
        // The same file asked for by another spelling of its path is the open
        // document; other letters name another file.
        const QString spelled = dir_.Folder() + QStringLiteral("/./sub/../Batch.log");
        QVERIFY(adapter.OpenDocumentQuietly(spelled.toStdU16String(), -1));
        QCOMPARE(app.Documents().size(), std::size_t{1});
        QCOMPARE(activated.size(), std::size_t{2});
        QVERIFY(adapter.GoToLineInOpenDocument(spelled.toStdU16String(), 2));
        QVERIFY(!adapter.GoToLineInOpenDocument(path.toUpper().toStdU16String(), 2));
        QVERIFY(!adapter.GoToLineInOpenDocument(u"/nowhere.log", 2));
        // A single open reports its own failure again afterwards.
        QVERIFY(app.OpenDocument(dir_.Path("absent.log").toStdU16String()) == nullptr);
        QCOMPARE(ui.shown.size(), std::size_t{1});
        adapter.ReportBatchFailures(u"Failed to load the following file(s).\n\nx\n");
        QCOMPARE(ui.shown.back().icon, core::MessageIcon::Exclamation);
        app.SetUserInterface(nullptr);
    }

    void filterImportMenuShowsThePresetsOfItsKind() {
        using filters_ui::CFilterImportMenu;
        using filters_ui::FilterFileKind;
        settings::preset_files::Save(settings::reg_paths::kPresetIEFFiles, {});
        CFilterImportMenu menu(QStringLiteral("Import"), FilterFileKind::InEx);
        const auto middle = [&menu] {
            QList<QAction*> items;
            for (QAction* action : menu.actions()) {
                if (!action->isSeparator()) items.push_back(action);
            }
            return items.mid(1, items.size() - 2);
        };
        QCOMPARE(middle().size(), 1);
        QCOMPARE(middle()[0]->text(), QStringLiteral("No Items"));
        QVERIFY(!middle()[0]->isEnabled());

        settings::preset_files::Save(settings::reg_paths::kPresetIEFFiles,
                                     {u"/f/a&b.ief", u"/f/c.ini"});
        settings::preset_files::Save(settings::reg_paths::kPresetHFFiles, {u"/f/h.ini"});
        menu.Rebuild();
        QCOMPARE(middle().size(), 2);
        QCOMPARE(middle()[0]->text(), QStringLiteral("/f/a&&b.ief"));
        QCOMPARE(middle()[0]->data().toInt(), 8000);
        QCOMPARE(middle()[1]->data().toInt(), 8001);
        QString requested;
        connect(&menu, &CFilterImportMenu::importPresetRequested,
                [&requested](const QString& path) { requested = path; });
        middle()[0]->trigger();
        QCOMPARE(requested, QStringLiteral("/f/a&b.ief"));

        RecordingUi ui;
        filters_ui::CManagePresetFilesDialog manage({u"/f/A.ini"}, {}, nullptr, &ui);
        // A path the store cannot give back would hide every later preset.
        const QString tooLong = QStringLiteral("/f/") + QString(1100, QLatin1Char('x'));
        manage.AddPaths({QStringLiteral("/f/A.ini"), QStringLiteral("/f/a.INI"), tooLong,
                         QStringLiteral("/f/\u00e4.ini"), QStringLiteral("/f/\u00c4.ini"),
                         QStringLiteral("/f/a.INI")});
        QCOMPARE(manage.Paths(), (std::vector<std::u16string>{u"/f/A.ini", u"/f/a.INI",
                                                              u"/f/\u00e4.ini", u"/f/\u00c4.ini"}));
        QCOMPARE(ui.shown.size(), std::size_t{1});
        QVERIFY(ui.shown[0].text.find(tooLong.toStdU16String()) != std::u16string::npos);
        QCOMPARE(ui.shown[0].icon, core::MessageIcon::Exclamation);

        // The file dialogs offer every file, those without a dot too.
        for (const FilterFileKind kind : {FilterFileKind::Highlight, FilterFileKind::InEx}) {
            for (const QString& filter :
                 {filters_ui::ImportFilterString(kind), filters_ui::ExportFilterString(kind)}) {
                const QString last = filter.split(QStringLiteral(";;")).last();
                const QString patterns = last.section(QLatin1Char('('), 1).chopped(1);
                QVERIFY2(QDir::match(patterns.split(QLatin1Char(' ')), QStringLiteral("filters")),
                         qPrintable(filter));
            }
        }

        QVERIFY(filters_ui::RegexHelpPath().endsWith(QStringLiteral("/tvregex.htm")));
        // Installed under a prefix the page is in share/, the program in bin/;
        // a page beside the program (a build folder) comes first.
        QTemporaryDir prefix;
        QVERIFY(QDir(prefix.path()).mkpath(QStringLiteral("bin")));
        QVERIFY(QDir(prefix.path()).mkpath(QStringLiteral("share/ostra-tarvik")));
        const QString bin = prefix.filePath(QStringLiteral("bin"));
        const QString installed = prefix.filePath(QStringLiteral("share/ostra-tarvik/tvregex.htm"));
        const QString beside = prefix.filePath(QStringLiteral("bin/tvregex.htm"));
        QCOMPARE(filters_ui::RegexHelpPathFor(bin), beside);
        QFile(installed).open(QIODevice::WriteOnly);
        QCOMPARE(filters_ui::RegexHelpPathFor(bin), installed);
        QFile(beside).open(QIODevice::WriteOnly);
        QCOMPARE(filters_ui::RegexHelpPathFor(bin), beside);
    }
};

QTEST_MAIN(MainFramePartsTest)
#include "MainFramePartsTest.moc"
