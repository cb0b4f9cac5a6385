// The dialog "Set Highlight Filters" driven offscreen: the list and the
// controls of the selected filter, colours, change marks and the reload
// flag, import and export of filter files on the rows, the checks on OK in
// their order, what OK hands to the application, the e-mail settings
// question, and Cancel; and the page the "print" action puts on paper.

#include <QAbstractItemModel>
#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QSpinBox>
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
#include "app/MailSettingsQuestion.h"
#include "app/TarvikApp.h"
#include "core/IUserInterface.h"
#include "filters/HighlightFilterStore.h"
#include "filters/ui/HighlightFilterDialog.h"
#include "filters/ui/HighlightFilterListModel.h"
#include "filters/ui/MatchedLinePrinter.h"
#include "platform/Registry.h"
#include "settings/PresetFileStore.h"
#include "settings/RegistryPaths.h"
#include "view/FontMapping.h"

namespace {

using filters::HighlightChangeMark;

using ui_test::RecordingUi;

filters::HighlightFilter Filter(std::u16string_view phrase, std::uint32_t text, std::uint32_t bkg) {
    filters::HighlightFilter filter;
    filter.phrase.Assign(phrase, false, false);
    filter.TextColor = text;
    filter.BkgColor = bkg;
    filter.Enable = true;
    return filter;
}

// Stores the filters and lets the application load them as at start-up.
void LoadFilters(app::CTarvikApp& app, std::vector<filters::HighlightFilter> list) {
    filters::CHighlightFilters stored;
    stored.Replace(std::move(list));
    QVERIFY(filters::SaveHighlightFilters(stored));
    bool maximized = true;
    settings::WindowRect rect{};
    app.LoadOptions(maximized, rect);
}

using ui_test::Click;
using ui_test::ClickOk;
using ui_test::Control;
using ui_test::ExportTo;
using ui_test::ImportPreset;

// Clicks a colour button and picks color in the colour dialog it opens.
void PickColor(const QWidget& dialog, const char* button, const QColor& color) {
    QTimer::singleShot(0, [color] {
        auto* chooser = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
        if (!chooser) qFatal("no colour dialog");
        chooser->setCurrentColor(color);
        chooser->accept();
    });
    Click(dialog, button);
}

std::vector<std::u16string> Phrases(const std::vector<filters::HighlightFilterEdit>& rows) {
    std::vector<std::u16string> phrases;
    for (const auto& row : rows) phrases.push_back(row.filter.phrase.text);
    return phrases;
}

QColor ListColor(const QDialog& dialog, int row, int role) {
    const QAbstractItemModel* model = Control<QTreeView>(dialog, "FilterList")->model();
    return model->data(model->index(row, 0), role).value<QColor>();
}

std::u16string Line(const core::CTarvikDoc& doc, int line) {
    return std::u16string(doc.Buffer().LineText(line));
}

}  // namespace

class HighlightFilterDialogTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(dir_.IsValid()); }

    void init() { dir_.UseNextStore(); }

    void editsFollowTheSelectedRowWithMarksAndReloadFlag() {
        app::CTarvikApp app;
        filters::HighlightFilter shown = Filter(u"secret", 0x0000FF, 0xFFFFFF);
        shown.ReplaceWith = true;
        shown.ReplaceText = u"***";
        LoadFilters(app, {Filter(u"error", 0x0000FF, 0x00FFFF), shown});
        filters_ui::CHighlightFilterDialog dialog(app, nullptr);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));

        QCOMPARE(ListColor(dialog, 0, Qt::ForegroundRole), QColor(255, 0, 0));
        QCOMPARE(ListColor(dialog, 0, Qt::BackgroundRole), QColor(255, 255, 0));
        for (const char* name : {"HighlightPhrase", "MatchCase", "TextColor", "ExecuteProgram",
                                 "Enable", "Remove", "Up", "Down"}) {
            QVERIFY2(!Control<QWidget>(dialog, name)->isEnabled(), name);
        }

        dialog.SelectRow(0);
        auto* phrase = Control<QLineEdit>(dialog, "HighlightPhrase");
        QCOMPARE(phrase->text(), QStringLiteral("error"));
        QCOMPARE(phrase->palette().color(QPalette::Base), QColor(255, 255, 0));
        // Each action's fields follow its box.
        auto* execute = Control<QCheckBox>(dialog, "ExecuteProgram");
        QVERIFY(!Control<QWidget>(dialog, "ExecutableProgram")->isEnabled());
        execute->setChecked(true);
        QVERIFY(Control<QWidget>(dialog, "ExecutableProgram")->isEnabled());
        QVERIFY(Control<QWidget>(dialog, "BrowseProgram")->isEnabled());

        // Colours and actions apply at once but neither mark the filter
        // modified nor ask for a reload.
        PickColor(dialog, "BkgColor", QColor(0, 128, 0));
        QCOMPARE(dialog.Rows()[0].filter.BkgColor, 0x008000u);
        QCOMPARE(ListColor(dialog, 0, Qt::BackgroundRole), QColor(0, 128, 0));
        QCOMPARE(phrase->palette().color(QPalette::Base), QColor(0, 128, 0));
        QVERIFY(dialog.Rows()[0].filter.ExecuteProgram);
        QVERIFY(dialog.Rows()[0].changeMark == HighlightChangeMark::Unchanged);
        // The phrase marks it; a filter without "Show as" asks no reload.
        QTest::keyClicks(phrase, QStringLiteral("s"));
        QVERIFY(dialog.Rows()[0].filter.phrase.text == u"errors");
        QVERIFY(dialog.Rows()[0].changeMark == HighlightChangeMark::Modified);
        QVERIFY(!dialog.ReloadRequested());
        QVERIFY(!Control<QSpinBox>(dialog, "AttachPreviousLines")->isEnabled());

        // Disabling the "Show as" filter from the list asks for a reload.
        QTreeView* list = Control<QTreeView>(dialog, "FilterList");
        list->model()->setData(list->model()->index(1, 0), Qt::Unchecked, Qt::CheckStateRole);
        QVERIFY(!dialog.Rows()[1].filter.Enable);
        QVERIFY(dialog.Rows()[1].changeMark == HighlightChangeMark::Modified);
        QVERIFY(dialog.ReloadRequested());

        // New starts from the colours and switches the controls show.
        Control<QCheckBox>(dialog, "HighlightEntireLine")->setChecked(true);
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        Click(dialog, "New");
        QCOMPARE(dialog.CurrentRow(), 2);
        const filters::HighlightFilterEdit& added = dialog.Rows()[2];
        QVERIFY(added.changeMark == HighlightChangeMark::New);
        QVERIFY(added.phraseAtOpen.empty());
        QVERIFY(added.filter.Enable && added.filter.HighlightEntireLine);
        QVERIFY(!added.filter.ExecuteProgram);
        QCOMPARE(added.filter.TextColor, 0x0000FFu);
        QCOMPARE(added.filter.BkgColor, 0x008000u);
        QTRY_VERIFY(phrase->hasFocus());
        QTest::keyClicks(phrase, QStringLiteral("new"));
        QVERIFY(dialog.Rows()[2].changeMark == HighlightChangeMark::New);

        Click(dialog, "Up");
        QCOMPARE(dialog.CurrentRow(), 1);
        QVERIFY(dialog.Rows()[1].filter.phrase.text == u"new");
        Click(dialog, "DisableAll");
        QVERIFY(!dialog.Rows()[0].filter.Enable && !dialog.Rows()[1].filter.Enable);
        QVERIFY(!Control<QCheckBox>(dialog, "Enable")->isChecked());

        Click(dialog, "Remove");
        QCOMPARE(dialog.Rows().size(), std::size_t(2));
        QCOMPARE(dialog.CurrentRow(), -1);
        QVERIFY(!phrase->isEnabled());
        // Nothing reaches the application before OK; Cancel keeps it so.
        dialog.reject();
        QVERIFY(app.HighlightFilters().Items()[0].phrase.text == u"error");
        QVERIFY(app.HighlightFilters().Items()[1].Enable);
    }

    // Longer than a line edit's default limit; a ticked box writes the
    // row back from the edits.
    void longTextsSurviveATickedBox() {
        app::CTarvikApp app;
        filters::HighlightFilter big = Filter(std::u16string(40000, u'p'), 0x0000FF, 0xFFFFFF);
        big.ExecutableProgram = std::u16string(40000, u'c');
        LoadFilters(app, {big});
        filters_ui::CHighlightFilterDialog dialog(app, nullptr);
        dialog.SelectRow(0);
        Control<QCheckBox>(dialog, "ExecuteProgram")->setChecked(true);
        Control<QCheckBox>(dialog, "MatchCase")->setChecked(true);
        QCOMPARE(dialog.Rows()[0].filter.phrase.text.size(), std::size_t(40000));
        QCOMPARE(dialog.Rows()[0].filter.ExecutableProgram.size(), std::size_t(40000));
    }

    // Stored values beyond the spin box's range are what it shows and saves.
    void attachedLinesSaveWhatTheSpinBoxShows() {
        app::CTarvikApp app;
        filters::HighlightFilter below = Filter(u"below", 0x0000FF, 0xFFFFFF);
        below.AttachPreviousLinesWithEmail = -7;
        filters::HighlightFilter above = Filter(u"above", 0x0000FF, 0xFFFFFF);
        above.AttachPreviousLinesWithEmail = 99999;
        LoadFilters(app, {below, above});
        filters_ui::CHighlightFilterDialog dialog(app, nullptr);
        auto* spin = Control<QSpinBox>(dialog, "AttachPreviousLines");
        std::vector<int> shown;
        for (int row : {0, 1}) {
            dialog.SelectRow(row);
            shown.push_back(spin->value());
        }
        ClickOk(dialog);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        filters::CHighlightFilters saved;
        filters::LoadHighlightFilters(saved);
        QCOMPARE(saved.Items().at(0).AttachPreviousLinesWithEmail, shown[0]);
        QCOMPARE(saved.Items().at(1).AttachPreviousLinesWithEmail, shown[1]);
        QCOMPARE(shown, (std::vector<int>{0, 32767}));
    }

    void importAndExportWorkOnTheRowsUntilOk() {
        app::CTarvikApp app;
        filters::HighlightFilter shown = Filter(u"secret", 0x0000FF, 0xFFFFFF);
        shown.ReplaceWith = true;
        shown.ReplaceText = u"***";
        LoadFilters(app, {Filter(u"error", 0x0000FF, 0xFFFFFF), shown});
        const QString file = dir_.Folder() + QStringLiteral("/both.ini");
        const QString missing = dir_.Folder() + QStringLiteral("/missing.ini");
        QVERIFY(settings::preset_files::Save(settings::reg_paths::kPresetHFFiles,
                                             {file.toStdU16String(), missing.toStdU16String()}));
        RecordingUi ui;

        // A failed import after remove-all: the rows stay removed, and the
        // removed "Show as" filter makes OK read the documents again.
        {
            filters_ui::CHighlightFilterDialog dialog(app, &ui);
            Control<QCheckBox>(dialog, "RemoveAllFiltersBeforeImport")->setChecked(true);
            dialog.SelectRow(0);
            ImportPreset(dialog, 8001);
            QVERIFY(dialog.Rows().empty());
            QVERIFY(dialog.ReloadRequested());
            QVERIFY(Control<QLineEdit>(dialog, "HighlightPhrase")->text().isEmpty());
            QCOMPARE(ui.messages,
                     QStringList{
                         QStringLiteral("Failed to import filters from file \"%1\"").arg(missing)});
            QVERIFY(ui.icons.back() == core::MessageIcon::Exclamation);
            // Without rows "E&xport" asks for nothing and writes nothing.
            ExportTo(dialog, {});
            dialog.ExportFile(file);
            QVERIFY(!QFile::exists(file));
        }

        filters_ui::CHighlightFilterDialog dialog(app, &ui);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        ExportTo(dialog, file);
        QVERIFY(!dialog.ReloadRequested());

        // Appended in file order as new filters without a phrase at open.
        ImportPreset(dialog, 8000);
        QVERIFY(Phrases(dialog.Rows()) ==
                (std::vector<std::u16string>{u"error", u"secret", u"error", u"secret"}));
        QVERIFY(dialog.Rows()[1].changeMark == HighlightChangeMark::Unchanged);
        QVERIFY(dialog.Rows()[3].changeMark == HighlightChangeMark::New);
        QVERIFY(dialog.Rows()[3].phraseAtOpen.empty());
        QVERIFY(dialog.Rows()[3].filter.ReplaceText == u"***");
        // The file sets ReplaceWith and ReplaceText.
        QVERIFY(dialog.ReloadRequested());

        // Remove-all first: the file's filters replace the rows, and the
        // replaced ones count as removed.
        Control<QCheckBox>(dialog, "RemoveAllFiltersBeforeImport")->setChecked(true);
        ImportPreset(dialog, 8000);
        QCOMPARE(dialog.Rows().size(), std::size_t(2));
        const auto* model = dialog.findChild<filters_ui::CHighlightFilterListModel*>();
        QCOMPARE(model->Removed().size(), std::size_t(4));
        QVERIFY(model->Removed()[0].changeMark == HighlightChangeMark::Removed);
        QCOMPARE(ui.messages.size(), 1);

        // Nothing reached the application or the store before OK.
        QCOMPARE(app.HighlightFilters().Size(), std::size_t(2));
        QVERIFY(app.HighlightFilters().Items()[0].phrase.text == u"error");
        dialog.SelectRow(0);
        Control<QLineEdit>(dialog, "HighlightPhrase")->setText(QStringLiteral("fault"));
        filters::CHighlightFilters stored;
        filters::LoadHighlightFilters(stored);
        QVERIFY(stored.Items()[0].phrase.text == u"error");
        ClickOk(dialog);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(app.HighlightFilters().Size(), std::size_t(2));
        QVERIFY(app.HighlightFilters().Items()[0].phrase.text == u"fault");
        QVERIFY(app.HighlightFilters().Items()[1].ReplaceText == u"***");
    }

    void okChecksEachRowInOrderAndFocusesTheField() {
        app::CTarvikApp app;
        filters::HighlightFilter broken = Filter(u"(", 0, 0xFFFFFF);
        broken.phrase.Assign(u"(", false, true);
        broken.ReplaceWith = true;
        broken.ExecuteProgram = true;
        broken.WriteFile = true;
        broken.WrittenFile = u"   ";
        broken.SendEmail = true;
        broken.ActionsOnlyAvailableInSpecialFile = true;
        LoadFilters(app, {Filter(u"fine", 0, 0xFFFFFF), broken});
        RecordingUi ui;
        filters_ui::CHighlightFilterDialog dialog(app, &ui);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.activateWindow();

        const QString missingFolder = dir_.Folder() + QStringLiteral("/missing/out.log");
        const QString written = dir_.Folder() + QStringLiteral("/written.log");
        struct Step {
            QString message;
            const char* field;
            QString mend;
        };
        const Step steps[] = {
            {QStringLiteral("The program doesn't support the following regular "
                            "expression.\n\n("),
             "HighlightPhrase", QStringLiteral("(x)")},
            {QStringLiteral("Please enter text for showing."), "ReplaceText", QStringLiteral("X")},
            {QStringLiteral("Please choose a program."), "ExecutableProgram",
             QStringLiteral("true")},
            {QStringLiteral("Please choose a file."), "WrittenFile", missingFolder},
            {QStringLiteral("Failed to create or open file \"%1\".").arg(missingFolder),
             "WrittenFile", QStringLiteral("  ") + written + QStringLiteral(" ")},
            {QStringLiteral("Please enter email address."), "Emails",
             QStringLiteral(" ops@example.org ")},
            {QStringLiteral("Please choose a file."), "AvailableFile",
             QStringLiteral("/var/log/app.log")},
        };
        QVERIFY(!QFile::exists(written));
        dialog.SelectRow(0);
        for (const Step& step : steps) {
            ClickOk(dialog);
            QCOMPARE(ui.messages.back(), step.message);
            QVERIFY(ui.icons.back() == core::MessageIcon::Exclamation);
            QVERIFY(dialog.isVisible());
            QCOMPARE(dialog.CurrentRow(), 1);
            auto* field = Control<QLineEdit>(dialog, step.field);
            QTRY_VERIFY2(field->hasFocus(), step.field);
            field->setText(step.mend);
        }
        const int asked = ui.messages.size();
        ClickOk(dialog);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        // The file check created the file; the action texts were trimmed.
        QVERIFY(QFile::exists(written));
        const filters::HighlightFilter& taken = app.HighlightFilters().Items().at(1);
        QVERIFY(taken.WrittenFile == written.toStdU16String());
        QVERIFY(taken.Emails == u"ops@example.org");
        QVERIFY(taken.phrase.expression != nullptr);
        QVERIFY(app.HighlightFilters().AnySendEmail());
        // E-mail is on and no settings exist: the question comes last.
        QCOMPARE(ui.messages.size(), asked + 1);
        QCOMPARE(ui.messages.back().toStdU16String(),
                 std::u16string(app::kMailSettingsIncompleteQuestion));
        QVERIFY(ui.icons.back() == core::MessageIcon::Question);
    }

    void okTakesOverSavesReloadsAndOffersTheMailSettings() {
        const QString logPath = dir_.Folder() + QStringLiteral("/shown.log");
        std::ofstream(logPath.toStdString()) << "the secret is out\n";
        app_test::FakeDocumentHost host;
        app::CTarvikApp app;
        app.SetDocumentHost(&host);
        filters::HighlightFilter shown = Filter(u"secret", 0, 0xFFFFFF);
        shown.ReplaceWith = true;
        shown.ReplaceText = u"***";
        LoadFilters(app, {shown});
        core::CTarvikDoc* doc = app.OpenDocument(logPath.toStdU16String());
        QVERIFY(doc);
        QVERIFY(Line(*doc, 0) == u"the *** is out");

        RecordingUi ui;
        ui.answer = core::MessageAnswer::Yes;
        int mailSettingsOpened = 0;
        filters_ui::CHighlightFilterDialog dialog(app, &ui, nullptr, [&] { ++mailSettingsOpened; });
        dialog.SelectRow(0);
        auto* text = Control<QLineEdit>(dialog, "ReplaceText");
        text->setText(QStringLiteral("[hidden]"));
        Control<QCheckBox>(dialog, "SendEmail")->setChecked(true);
        Control<QLineEdit>(dialog, "Emails")->setText(QStringLiteral("ops@example.org"));
        Control<QCheckBox>(dialog, "HighlightLine")->setChecked(false);
        Control<QCheckBox>(dialog, "FillLineBlankInBkgColor")->setChecked(true);
        Control<QCheckBox>(dialog, "ShowDesktopNotification")->setChecked(true);
        Control<QCheckBox>(dialog, "PostWebHook")->setChecked(true);
        Control<QLineEdit>(dialog, "WebHookUrl")
            ->setText(QStringLiteral("https://chat.example.org/h"));
        Control<QLineEdit>(dialog, "WebHookBody")->setText(QStringLiteral("{\"text\":\"%n\"}"));
        QVERIFY(dialog.ReloadRequested());
        ClickOk(dialog);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const filters::HighlightFilter& taken = app.HighlightFilters().Items()[0];
        QVERIFY(taken.ShowDesktopNotification);
        QVERIFY(taken.PostWebHook);
        QVERIFY(taken.WebHookUrl == u"https://chat.example.org/h");
        QVERIFY(taken.WebHookBody == u"{\"text\":\"%n\"}");

        // Read again from the file, so the new text replaces the phrase.
        QVERIFY(Line(*doc, 0) == u"the [hidden] is out");
        QVERIFY(app.GetOptions().FillLineBlankInBkgColor);
        QVERIFY(!app.GetOptions().HighlightLine);
        filters::CHighlightFilters stored;
        filters::LoadHighlightFilters(stored);
        QCOMPARE(stored.Size(), std::size_t(1));
        QVERIFY(stored.Items()[0].ReplaceText == u"[hidden]");
        QVERIFY(stored.Items()[0].SendEmail);
        QCOMPARE(ui.messages.size(), 1);
        QCOMPARE(mailSettingsOpened, 1);

        // With complete settings nobody is asked.
        app.Mail().Settings().emplace();
        app.Mail().Settings()->smtpServer = u"mail.example.org";
        app.Mail().Settings()->mailFrom = u"tarvik@example.org";
        filters_ui::CHighlightFilterDialog again(app, &ui, nullptr, [&] { ++mailSettingsOpened; });
        ClickOk(again);
        QCOMPARE(again.result(), int(QDialog::Accepted));
        QCOMPARE(ui.messages.size(), 1);
        QVERIFY(Line(*doc, 0) == u"the [hidden] is out");
    }

    // A laptop screen of 1280x720 holds the dialog at the default font, with
    // room for a title bar and a panel: at its smallest OK and Cancel show,
    // and the action settings scroll to the field that takes the focus.
    void fitsASmallScreenWithEveryControlReachable() {
        app::CTarvikApp app;
        LoadFilters(app, {Filter(u"error", 0x0000FF, 0xFFFFFF)});
        filters_ui::CHighlightFilterDialog dialog(app, nullptr);
        const QSize smallest = dialog.minimumSizeHint();
        QVERIFY2(smallest.width() <= 1280 && smallest.height() <= 720 - 64,
                 qPrintable(QStringLiteral("%1x%2").arg(smallest.width()).arg(smallest.height())));
        dialog.resize(smallest);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QCOMPARE(dialog.size(), smallest);
        const QRect inside = dialog.rect();
        auto* buttons = dialog.findChild<QDialogButtonBox*>();
        for (QAbstractButton* button : buttons->buttons()) {
            QVERIFY(inside.contains(QRect(button->mapTo(&dialog, QPoint()), button->size())));
        }
        dialog.SelectRow(0);
        // The web hook's fields follow its box, and so does the first-occurrence
        // rule it shares with the e-mail.
        for (const char* name : {"WebHookUrl", "WebHookBody", "SendFirstOccured"}) {
            QVERIFY2(!Control<QWidget>(dialog, name)->isEnabled(), name);
        }
        QVERIFY(Control<QWidget>(dialog, "ShowDesktopNotification")->isEnabled());
        Control<QCheckBox>(dialog, "PostWebHook")->setChecked(true);
        for (const char* name : {"WebHookUrl", "WebHookBody", "SendFirstOccured"}) {
            QVERIFY2(Control<QWidget>(dialog, name)->isEnabled(), name);
        }
        QVERIFY(!Control<QWidget>(dialog, "Emails")->isEnabled());
        Control<QCheckBox>(dialog, "ActionsOnlyAvailableInSpecialFile")->setChecked(true);
        auto* last = Control<QLineEdit>(dialog, "AvailableFile");
        auto* scroll = Control<QScrollArea>(dialog, "ActionScroll");
        QVERIFY(scroll->widget()->isAncestorOf(last));
        last->setFocus();
        QTRY_VERIFY(last->hasFocus());
        const QRect shown(last->mapTo(scroll->viewport(), QPoint()), last->size());
        QVERIFY(scroll->viewport()->rect().contains(shown));
        QVERIFY(dialog.grab().toImage().save(
            QStringLiteral(TARVIK_ARTIFACTS_DIR "/highlight-filter-dialog-smallest.png")));
    }

    void screenshot() {
        app::CTarvikApp app;
        filters::HighlightFilter mail = Filter(u"FATAL", 0xFFFFFF, 0x0000C0);
        mail.SendEmail = true;
        mail.Emails = u"ops@example.org";
        mail.AttachPreviousLinesWithEmail = 5;
        mail.SendFirstOccured = true;
        filters::HighlightFilter off = Filter(u"debug", 0x808080, 0xFFFFFF);
        off.Enable = false;
        LoadFilters(app, {Filter(u"error", 0x0000FF, 0xFFFFFF), mail,
                          Filter(u"warn", 0x000000, 0x00FFFF), off});
        filters_ui::CHighlightFilterDialog dialog(app, nullptr);
        dialog.resize(dialog.sizeHint());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.SelectRow(1);
        auto* phrase = Control<QLineEdit>(dialog, "HighlightPhrase");
        phrase->deselect();
        QApplication::processEvents();
        const QImage image = dialog.grab().toImage();
        QVERIFY(image.save(QStringLiteral(TARVIK_ARTIFACTS_DIR "/highlight-filter-dialog.png")));

        // The phrase edit is painted in the filter's colours: dark red behind
        // white text, at its right end past the phrase.
        const QRect edit = phrase->rect();
        const QPoint behind = phrase->mapTo(&dialog, QPoint(edit.right() - 6, edit.center().y()));
        QCOMPARE(image.pixelColor(behind), QColor(0xC0, 0, 0));
        bool whiteText = false;
        for (int x = 4; x < 60 && !whiteText; ++x) {
            for (int y = 3; y < edit.height() - 3; ++y) {
                if (image.pixelColor(phrase->mapTo(&dialog, QPoint(x, y))) == Qt::white) {
                    whiteText = true;
                }
            }
        }
        QVERIFY(whiteText);
        // The warn row sits on yellow in the list.
        auto* list = Control<QTreeView>(dialog, "FilterList");
        const QRect row = list->visualRect(list->model()->index(2, 0));
        const QPoint end = list->viewport()->mapTo(&dialog, row.topRight());
        QCOMPARE(image.pixelColor(end + QPoint(-3, row.height() / 2)), QColor(255, 255, 0));
    }

    // The "print" action's page: the path and the time in the header band,
    // then the lines with tabs expanded, on one page however many there are.
    void matchedLinesPrintOnOnePageUnderTheirHeader() {
        filters::PrintJob job;
        job.documentPath = u"/var/log/app.log";
        for (int i = 0; i < 400; ++i)
            job.text += u"line " + QString::number(i).toStdU16String() + u"\tend\r\n";
        platform::LocalTime now;
        now.year = 2026;
        now.month = 12;
        now.day = 8;
        now.hour = 21;
        now.minute = 55;
        now.second = 3;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        const QString pdf = dir_.Path(QStringLiteral("matched.pdf"));
        printer.setOutputFileName(pdf);
        QVERIFY(filters_ui::CMatchedLinePrinter::PrintMatchedLines(
            job, view::FontFromLogFont(job.font), now, printer));

        QProcess text;
        text.start(QStringLiteral("pdftotext"),
                   {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        QVERIFY2(text.waitForFinished(30000), "pdftotext (poppler-utils) is needed");
        const QString page = QString::fromUtf8(text.readAllStandardOutput());
        const QStringList rows = page.split(u'\n', Qt::SkipEmptyParts);
        QVERIFY(rows.size() > 10);
        QVERIFY2(rows[0].startsWith(QStringLiteral("/var/log/app.log")), qPrintable(rows[0]));
        QVERIFY2(rows[0].endsWith(QStringLiteral("12/8/2026 21:55:3")), qPrintable(rows[0]));
        QVERIFY2(QRegularExpression(QStringLiteral("^line 0 +end$")).match(rows[1]).hasMatch(),
                 qPrintable(rows[1]));
        QVERIFY(rows[2].startsWith(QStringLiteral("line 1 ")));
        QVERIFY(!page.contains(QStringLiteral("line 399")));
        QCOMPARE(page.count(u'\f'), 1);

        // Without a default printer jobs are dropped on their threads, which
        // the printer waits for as it goes.
        if (QPrinterInfo::defaultPrinter().isNull()) {
            filters_ui::CMatchedLinePrinter dropping(platform::SystemClock::Instance());
            dropping.Print(job);
            dropping.Print(job);
        }
    }

private:
    ui_test::TestFolder dir_;
};

QTEST_MAIN(HighlightFilterDialogTest)
#include "HighlightFilterDialogTest.moc"
