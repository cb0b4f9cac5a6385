// The dialog "Set Include & Exclude Filters" driven offscreen: rows, their
// colours and the controls bound to the selected row, the list buttons,
// import and export of filter files on the rows, the checks on OK in row
// order, what OK hands to the application, and Cancel.

#include <QAbstractItemModel>
#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <QtTest>

#include <fstream>
#include <string>
#include <vector>

#include "DialogControls.h"
#include "RecordingUi.h"
#include "TestFolder.h"
#include "app/FakeDocumentHost.h"
#include "app/TarvikApp.h"
#include "core/IUserInterface.h"
#include "filters/FilterFileRecords.h"
#include "filters/InExFilterList.h"
#include "filters/ui/InExFilterDialog.h"
#include "platform/Registry.h"
#include "settings/PresetFileStore.h"
#include "settings/RegistryPaths.h"

namespace {

using ui_test::RecordingUi;

filters::InExFilter Filter(std::u16string_view text, bool enable = true, bool matchCase = false,
                           bool expression = false) {
    filters::InExFilter filter;
    filter.phrase.text = text;
    filter.phrase.matchCase = matchCase;
    filter.phrase.regularExpression = expression;
    filter.Enable = enable;
    return filter;
}

using ui_test::Click;
using ui_test::ClickOk;
using ui_test::Control;
using ui_test::ExportTo;
using ui_test::ImportPreset;

QString Cell(const QDialog& dialog, int row, int column, int role = Qt::DisplayRole) {
    const QAbstractItemModel* model = Control<QTreeView>(dialog, "FilterList")->model();
    return model->data(model->index(row, column), role).toString();
}

QColor CellColor(const QDialog& dialog, int row, int role) {
    const QAbstractItemModel* model = Control<QTreeView>(dialog, "FilterList")->model();
    return model->data(model->index(row, 0), role).value<QColor>();
}

// Stores both lists and lets the application load them as at start-up.
void LoadLists(app::CTarvikApp& app, std::vector<filters::InExFilter> include,
               std::vector<filters::InExFilter> exclude) {
    filters::CInExFilters stored;
    stored.Replace(std::move(include), std::move(exclude));
    QVERIFY(stored.Save());
    bool maximized = true;
    settings::WindowRect rect{};
    app.LoadOptions(maximized, rect);
}

std::vector<std::u16string> Texts(const std::vector<filters::InExFilter>& list) {
    std::vector<std::u16string> texts;
    for (const auto& filter : list) texts.push_back(filter.phrase.text);
    return texts;
}

}  // namespace

class InExFilterDialogTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(dir_.IsValid()); }

    void init() { dir_.UseNextStore(); }

    void rowsShowBothListsAndFollowTheEditControls() {
        app::CTarvikApp app;
        LoadLists(app, {Filter(u"inc", true, true), Filter(u"off", false)},
                  {Filter(u"exc", true, false, true)});
        filters_ui::CInExFilterDialog dialog(app, nullptr);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));

        QCOMPARE(dialog.Rows().size(), std::size_t(3));
        QCOMPARE(Cell(dialog, 0, 0), QStringLiteral("inc"));
        QCOMPARE(Cell(dialog, 0, 1), QStringLiteral("Yes"));
        QCOMPARE(Cell(dialog, 0, 2), QStringLiteral("No"));
        QCOMPARE(Cell(dialog, 0, 3), QStringLiteral("Include"));
        QCOMPARE(Cell(dialog, 2, 2), QStringLiteral("Yes"));
        QCOMPARE(Cell(dialog, 2, 3), QStringLiteral("Exclude"));
        QCOMPARE(Cell(dialog, 1, 0, Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
        QCOMPARE(CellColor(dialog, 0, Qt::ForegroundRole), QColor(0, 0, 0));
        QCOMPARE(CellColor(dialog, 1, Qt::ForegroundRole), QColor(128, 128, 128));
        QCOMPARE(CellColor(dialog, 0, Qt::BackgroundRole), QColor(255, 255, 255));
        QCOMPARE(CellColor(dialog, 2, Qt::BackgroundRole), QColor(238, 238, 238));

        // Nothing selected: the row's controls and Remove/Up/Down are off.
        for (const char* name : {"FilterPhrase", "Enable", "MatchCase", "RegularExpression",
                                 "Include", "Exclude", "Remove", "Up", "Down"}) {
            QVERIFY2(!Control<QWidget>(dialog, name)->isEnabled(), name);
        }

        dialog.SelectRow(2);
        auto* phrase = Control<QLineEdit>(dialog, "FilterPhrase");
        QCOMPARE(phrase->text(), QStringLiteral("exc"));
        QVERIFY(Control<QRadioButton>(dialog, "Exclude")->isChecked());
        QVERIFY(Control<QCheckBox>(dialog, "RegularExpression")->isChecked());
        QVERIFY(!Control<QPushButton>(dialog, "Down")->isEnabled());
        // Every change is written to the row at once.
        phrase->setFocus();
        QTest::keyClicks(phrase, QStringLiteral("ept"));
        Control<QRadioButton>(dialog, "Include")->setChecked(true);
        Control<QCheckBox>(dialog, "Enable")->setChecked(false);
        QCOMPARE(Cell(dialog, 2, 0), QStringLiteral("except"));
        QCOMPARE(Cell(dialog, 2, 3), QStringLiteral("Include"));
        QCOMPARE(CellColor(dialog, 2, Qt::ForegroundRole), QColor(128, 128, 128));
        QCOMPARE(CellColor(dialog, 2, Qt::BackgroundRole), QColor(255, 255, 255));

        // Up swaps with the neighbour and keeps the row selected.
        Click(dialog, "Up");
        QCOMPARE(dialog.CurrentRow(), 1);
        QCOMPARE(Cell(dialog, 1, 0), QStringLiteral("except"));
        QCOMPARE(Cell(dialog, 2, 0), QStringLiteral("off"));

        // New takes the switches and type the controls show (those of the
        // row selected last), enabled, and gives the phrase the focus.
        dialog.SelectRow(0);
        Click(dialog, "New");
        QCOMPARE(dialog.Rows().size(), std::size_t(4));
        QCOMPARE(dialog.CurrentRow(), 3);
        const filters::InExFilterRow& added = dialog.Rows()[3];
        QVERIFY(added.text.empty() && added.enable && added.matchCase && !added.regularExpression &&
                added.include);
        QTRY_VERIFY(phrase->hasFocus());
        QVERIFY(phrase->text().isEmpty());
        Control<QRadioButton>(dialog, "Exclude")->setChecked(true);

        // The type buttons touch only rows of their type.
        Click(dialog, "DisableAllExclude");
        QVERIFY(!dialog.Rows()[3].enable);
        QVERIFY(dialog.Rows()[0].enable);
        QVERIFY(!Control<QCheckBox>(dialog, "Enable")->isChecked());
        Click(dialog, "EnableAllInclude");
        QVERIFY(dialog.Rows()[1].enable && dialog.Rows()[2].enable);
        QVERIFY(!dialog.Rows()[3].enable);

        Click(dialog, "Remove");
        QCOMPARE(dialog.Rows().size(), std::size_t(3));
        QCOMPARE(dialog.CurrentRow(), -1);
        QVERIFY(!phrase->isEnabled());
        Click(dialog, "RemoveAll");
        QVERIFY(dialog.Rows().empty());
        // Nothing reaches the application before OK.
        QCOMPARE(app.InExFilters().Include().size(), std::size_t(2));
    }

    // Longer than a line edit's default limit; a ticked box writes the
    // row back from the edit.
    void longTextsSurviveATickedBox() {
        app::CTarvikApp app;
        LoadLists(app, {Filter(std::u16string(40000, u'p'))}, {});
        filters_ui::CInExFilterDialog dialog(app, nullptr);
        dialog.SelectRow(0);
        Control<QCheckBox>(dialog, "MatchCase")->setChecked(true);
        QCOMPARE(dialog.Rows()[0].text.size(), std::size_t(40000));
    }

    void importAndExportWorkOnTheRowsUntilOk() {
        app::CTarvikApp app;
        LoadLists(app, {Filter(u"keep")}, {Filter(u"drop", false)});
        RecordingUi ui;
        filters_ui::CInExFilterDialog dialog(app, &ui);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const QString file = dir_.Folder() + QStringLiteral("/both.ini");
        const QString missing = dir_.Folder() + QStringLiteral("/missing.ini");
        const QString many = dir_.WriteFile(
            QStringLiteral("many.ini"),
            QByteArray("[Filter\nText=a\n").repeated(filters::kMaxFiltersPerFile + 1));
        ExportTo(dialog, file);
        QVERIFY(settings::preset_files::Save(
            settings::reg_paths::kPresetIEFFiles,
            {file.toStdU16String(), missing.toStdU16String(), many.toStdU16String()}));

        // Appended after the rows, in file order, each keeping its type.
        ImportPreset(dialog, 8000);
        QCOMPARE(dialog.Rows().size(), std::size_t(4));
        QCOMPARE(Cell(dialog, 3, 0), QStringLiteral("drop"));
        QCOMPARE(Cell(dialog, 3, 3), QStringLiteral("Exclude"));
        QVERIFY(!dialog.Rows()[3].enable);

        // Remove-all first: the file's rows replace the others.
        Control<QCheckBox>(dialog, "RemoveAllFiltersBeforeImport")->setChecked(true);
        ImportPreset(dialog, 8000);
        QCOMPARE(dialog.Rows().size(), std::size_t(2));
        QCOMPARE(Cell(dialog, 0, 0), QStringLiteral("keep"));
        QVERIFY(ui.messages.isEmpty());

        // A file that cannot be read is reported; the rows stay removed.
        ImportPreset(dialog, 8001);
        QVERIFY(dialog.Rows().empty());
        QCOMPARE(
            ui.messages,
            QStringList{QStringLiteral("Failed to import filters from file \"%1\"").arg(missing)});
        QVERIFY(ui.icons.back() == core::MessageIcon::Exclamation);

        // A file of more filters than one file brings in says so.
        ImportPreset(dialog, 8002);
        QCOMPARE(dialog.Rows().size(), filters::kMaxFiltersPerFile);
        QCOMPARE(ui.messages.size(), 2);
        QVERIFY(
            ui.Last().startsWith(QStringLiteral("10000 filters were read from the file; the "
                                                "rest of it was left out")));
        // No rows again, for the export below.
        ImportPreset(dialog, 8001);

        // Without rows the file holds only the byte-order mark.
        const QString empty = dir_.Folder() + QStringLiteral("/empty.ini");
        ExportTo(dialog, empty);
        QFile written(empty);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), QByteArray("\xFF\xFE"));
        const QString noFolder = dir_.Folder() + QStringLiteral("/no/such/x.ini");
        dialog.ExportFile(noFolder);
        QCOMPARE(ui.messages.back(),
                 QStringLiteral("Failed to export filters to file \"%1\"").arg(noFolder));

        // Nothing reached the application or the store before OK.
        QVERIFY(Texts(app.InExFilters().Include()) == std::vector<std::u16string>{u"keep"});
        filters::CInExFilters stored;
        stored.Load();
        QVERIFY(Texts(stored.Exclude()) == std::vector<std::u16string>{u"drop"});
        ClickOk(dialog);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(app.InExFilters().Include().empty() && app.InExFilters().Exclude().empty());
    }

    void okChecksRowsInOrderThenReplacesSavesAndReloads() {
        const QString logPath = dir_.Folder() + QStringLiteral("/ok.log");
        std::ofstream(logPath.toStdString()) << "alpha\nbeta\ngamma\n";
        app_test::FakeDocumentHost host;
        app::CTarvikApp app;
        RecordingUi ui;
        app.SetDocumentHost(&host);
        app.SetUserInterface(&ui);
        core::CTarvikDoc* doc = app.OpenDocument(logPath.toStdU16String());
        QVERIFY(doc);
        QCOMPARE(doc->Buffer().LineCount(), 4);

        filters_ui::CInExFilterDialog dialog(app, &ui);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.activateWindow();
        auto* phrase = Control<QLineEdit>(dialog, "FilterPhrase");
        auto* expression = Control<QCheckBox>(dialog, "RegularExpression");
        for (int i = 0; i < 3; ++i) Click(dialog, "New");
        // Row 0 fine, row 1 an expression that does not compile, row 2 empty.
        dialog.SelectRow(0);
        QTest::keyClicks(phrase, QStringLiteral("beta"));
        Control<QRadioButton>(dialog, "Exclude")->setChecked(true);
        dialog.SelectRow(1);
        expression->setChecked(true);
        QTest::keyClicks(phrase, QStringLiteral("("));
        dialog.SelectRow(0);

        ClickOk(dialog);
        QCOMPARE(ui.messages.size(), 1);
        QCOMPARE(ui.messages.back(),
                 QStringLiteral("The program doesn't support the following regular "
                                "expression.\n\n("));
        QVERIFY(ui.icons.back() == core::MessageIcon::Exclamation);
        QCOMPARE(dialog.CurrentRow(), 1);
        QTRY_VERIFY(phrase->hasFocus());
        QVERIFY(dialog.isVisible());

        phrase->setText(QStringLiteral("a|m"));
        ClickOk(dialog);
        QCOMPARE(ui.messages.back(), QStringLiteral("Please enter filter phrase."));
        QCOMPARE(dialog.CurrentRow(), 2);
        QVERIFY(dialog.isVisible());
        QVERIFY(app.InExFilters().Include().empty());

        QTest::keyClicks(phrase, QStringLiteral("zzz"));
        Control<QCheckBox>(dialog, "Enable")->setChecked(false);
        Control<QCheckBox>(dialog, "RemoveAllFiltersBeforeImport")->setChecked(true);
        const int waitsBefore = ui.waitCursors;
        ClickOk(dialog);
        QCOMPARE(ui.messages.size(), 2);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));

        // The lists are rebuilt in row order by type and compiled.
        QVERIFY(Texts(app.InExFilters().Include()) ==
                (std::vector<std::u16string>{u"a|m", u"zzz"}));
        QVERIFY(Texts(app.InExFilters().Exclude()) == std::vector<std::u16string>{u"beta"});
        QVERIFY(app.InExFilters().Include()[0].phrase.expression != nullptr);
        QVERIFY(!app.InExFilters().Include()[1].Enable);
        QVERIFY(app.GetOptions().RemoveAllFiltersBeforeImport);

        // Saved: a fresh load finds the same lists.
        filters::CInExFilters stored;
        stored.Load();
        QVERIFY(Texts(stored.Include()) == Texts(app.InExFilters().Include()));
        QVERIFY(Texts(stored.Exclude()) == Texts(app.InExFilters().Exclude()));

        // Reloaded under a wait cursor: beta is excluded, and only lines
        // with a or m are included.
        QVERIFY(ui.waitCursors > waitsBefore);
        QCOMPARE(doc->Buffer().LineCount(), 3);
        QCOMPARE(QString::fromStdU16String(std::u16string(doc->Buffer().LineText(0))),
                 QStringLiteral("alpha"));
        QCOMPARE(QString::fromStdU16String(std::u16string(doc->Buffer().LineText(1))),
                 QStringLiteral("gamma"));
    }

    void okWithoutReloadLeavesDocumentsAndCancelDiscards() {
        const QString logPath = dir_.Folder() + QStringLiteral("/keep.log");
        std::ofstream(logPath.toStdString()) << "alpha\nbeta\n";
        app_test::FakeDocumentHost host;
        app::CTarvikApp app;
        app.SetDocumentHost(&host);
        core::CTarvikDoc* doc = app.OpenDocument(logPath.toStdU16String());
        QVERIFY(doc);
        const int lines = doc->Buffer().LineCount();

        {
            filters_ui::CInExFilterDialog dialog(app, nullptr);
            Click(dialog, "New");
            QTest::keyClicks(Control<QLineEdit>(dialog, "FilterPhrase"), QStringLiteral("x"));
            Control<QCheckBox>(dialog, "EnableInExFilters")->setChecked(false);
            dialog.reject();
        }
        QVERIFY(app.InExFilters().Include().empty());
        QVERIFY(app.GetOptions().EnableInExFilters);

        filters_ui::CInExFilterDialog dialog(app, nullptr);
        Click(dialog, "New");
        QTest::keyClicks(Control<QLineEdit>(dialog, "FilterPhrase"), QStringLiteral("alpha"));
        Control<QCheckBox>(dialog, "ReloadAllDocs")->setChecked(false);
        Control<QCheckBox>(dialog, "EnableInExFilters")->setChecked(false);
        ClickOk(dialog);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(app.InExFilters().Include().size(), std::size_t(1));
        QVERIFY(!app.GetOptions().ReloadAllDocsInExclude);
        QVERIFY(!app.GetOptions().EnableInExFilters);
        QCOMPARE(doc->Buffer().LineCount(), lines);
        app::CTarvikApp fresh;
        bool maximized = true;
        settings::WindowRect rect{};
        fresh.LoadOptions(maximized, rect);
        QVERIFY(!fresh.GetOptions().ReloadAllDocsInExclude);
        QVERIFY(!fresh.GetOptions().EnableInExFilters);
    }

    void screenshot() {
        app::CTarvikApp app;
        LoadLists(app,
                  {Filter(u"ERROR"), Filter(u"^\\d{4}-\\d\\d", true, false, true),
                   Filter(u"debug", false)},
                  {Filter(u"heartbeat", true, true), Filter(u"noise", false)});
        filters_ui::CInExFilterDialog dialog(app, nullptr);
        dialog.resize(dialog.sizeHint());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* list = Control<QTreeView>(dialog, "FilterList");
        const QImage image = dialog.grab().toImage();
        QVERIFY(image.save(QStringLiteral(TARVIK_ARTIFACTS_DIR "/inex-filter-dialog.png")));

        // Exclude rows are drawn on light grey, include rows on white; look
        // at the right end of the Type column, past its text.
        const auto pixelOf = [&](int row) {
            const QRect cell = list->visualRect(list->model()->index(row, 3));
            const QPoint inList = list->viewport()->mapTo(&dialog, cell.topRight());
            return image.pixelColor(inList + QPoint(-3, cell.height() / 2));
        };
        // Row 0 is the current row and carries the focus frame.
        QCOMPARE(pixelOf(1), QColor(255, 255, 255));
        QCOMPARE(pixelOf(3), QColor(238, 238, 238));

        // Every column title shows whole in the font the header has.
        QHeaderView* header = list->header();
        for (int column = 0; column < header->count(); ++column) {
            const QString title = list->model()->headerData(column, Qt::Horizontal).toString();
            QVERIFY2(header->sectionSize(column) > header->fontMetrics().horizontalAdvance(title),
                     qPrintable(title));
        }
    }

private:
    ui_test::TestFolder dir_;
};

QTEST_MAIN(InExFilterDialogTest)
#include "InExFilterDialogTest.moc"
