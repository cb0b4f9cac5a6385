// The option dialogs driven offscreen: the Options dialog's checks, greyed
// out controls and apply steps, the bound characters editor, the Buffer Size
// and Set Refresh Rate dialogs, the editor dialogs and the .log association box.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include <fstream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "DialogControls.h"
#include "RecordingUi.h"
#include "TestFolder.h"
#include "app/DesktopLogDefault.h"
#include "app/ExternalEditor.h"
#include "app/LogAssociation.h"
#include "app/TarvikApp.h"
#include "app/ui/BoundCharactersDialog.h"
#include "app/ui/BufferSizeDialog.h"
#include "app/ui/DefaultEditorDialog.h"
#include "app/ui/DialogText.h"
#include "app/ui/EditorEntryDialog.h"
#include "app/ui/OptionsDialog.h"
#include "app/ui/RefreshRateDialog.h"
#include "app/ui/TrayIcon.h"
#include "capture/ui/CapturedProcessDialog.h"
#include "core/IUserInterface.h"
#include "platform/Registry.h"
#include "settings/RegistryPaths.h"
#include "settings/TempDesktop.h"

namespace {

using ui_test::RecordingUi;

bool StoreHasValue(std::u16string_view name) {
    platform::RegKey key;
    if (key.Open(platform::RegRoot::CurrentUser, settings::reg_paths::kOptions) !=
        platform::ERROR_SUCCESS) {
        return false;
    }
    std::u16string found;
    for (platform::DWORD i = 0; key.EnumValue(i, found) == platform::ERROR_SUCCESS; ++i) {
        if (found == name) return true;
    }
    return false;
}

settings::Options StoredOptions() {
    app::CTarvikApp fresh;
    bool maximized = true;
    settings::WindowRect rect{};
    fresh.LoadOptions(maximized, rect);
    return fresh.GetOptions();
}

void ClickOk(QDialog& dialog) {
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    QVERIFY(buttons);
    buttons->button(QDialogButtonBox::Ok)->click();
}

using ui_test::Control;

}  // namespace

class OptionsDialogTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(dir_.IsValid()); }

    // Every test starts from an empty store.
    void init() { dir_.UseNextStore(); }

    void checksRunInOrderAndFocusTheOffendingField() {
        app::CTarvikApp app;
        RecordingUi ui;
        app_ui::COptionsDialog dialog(app, &ui);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.activateWindow();

        // The offending fields are open for editing so that they can take the focus.
        Control<QCheckBox>(dialog, "OpenFilesWhenStartup")->setChecked(true);
        Control<QCheckBox>(dialog, "EnableMaxTabItemLen")->setChecked(true);
        Control<QSpinBox>(dialog, "OpenFilesNumberWhenStartup")->setValue(0);
        Control<QSpinBox>(dialog, "MaxTabItemLen")->setValue(0);
        Control<QSpinBox>(dialog, "TabSize")->setValue(65);
        Control<QCheckBox>(dialog, "SaveOutputDebugString2File")->setChecked(true);
        Control<QLineEdit>(dialog, "OutputDebugStringSavedFile")->setText(QStringLiteral("   "));

        const QStringList expected = {
            QStringLiteral("Invalid files number. It should be greater than 0."),
            QStringLiteral("Invalid length of tab text. The number must be greater than 0."),
            QStringLiteral("Invalid tab size number. The valid number is between 1 and 64."),
            QStringLiteral("Please set a file for the output of \"Capture OutputDebugString\"."),
        };
        const char* offending[] = {"OpenFilesNumberWhenStartup", "MaxTabItemLen", "TabSize",
                                   "OutputDebugStringSavedFile"};
        for (int i = 0; i < expected.size(); ++i) {
            ClickOk(dialog);
            QCOMPARE(ui.messages.size(), i + 1);
            QCOMPARE(ui.messages.back(), expected[i]);
            QVERIFY(ui.icons.back() == core::MessageIcon::Exclamation);
            QVERIFY(dialog.isVisible());
            QWidget* field = Control<QWidget>(dialog, offending[i]);
            QTRY_VERIFY(field->hasFocus() || field->isAncestorOf(QApplication::focusWidget()));
            // Mend this field so that the next check speaks.
            if (auto* spin = qobject_cast<QSpinBox*>(field)) spin->setValue(4);
        }
        Control<QLineEdit>(dialog, "OutputDebugStringSavedFile")
            ->setText(QStringLiteral("  /tmp/ods.log "));
        ClickOk(dialog);
        QCOMPARE(ui.messages.size(), expected.size());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(app.GetOptions().OutputDebugStringSavedFile == u"/tmp/ods.log");
        QCOMPARE(app.GetOptions().OpenFilesNumberWhenStartup, 4);
        QCOMPARE(app.GetOptions().TabSize, 4);
    }

    void dependentControlsFollowTheirMasters() {
        app::CTarvikApp app;
        app.GetOptions().OpenFilesWhenStartup = false;
        app_ui::COptionsDialog dialog(app, nullptr);

        struct Dependency {
            const char* master;
            std::vector<const char*> dependents;
        };
        const Dependency dependencies[] = {
            {"OpenFilesWhenStartup",
             {"OpenFilesNumberWhenStartup", "ArrangeReopenedFile",
              "ClearWndWhenOpenFileOnStartUp"}},
            {"EnableMaxTabItemLen", {"MaxTabItemLen"}},
            {"DrawRedLine", {"RemovePreRedLine"}},
            {"SpecialSelect", {"EditBoundCharacters"}},
            {"SaveOutputDebugString2File", {"OutputDebugStringSavedFile", "BrowseCaptureFile"}},
            {"AutoPoll",
             {"StopPollWhenVScrollUp", "StopPollWhenHScrollRight",
              "StopPollWhenMoveCaretNotAtEnd"}},
        };
        for (const Dependency& dependency : dependencies) {
            auto* master = Control<QAbstractButton>(dialog, dependency.master);
            for (bool on : {!master->isChecked(), master->isChecked()}) {
                if (qobject_cast<QRadioButton*>(master) && !on) {
                    Control<QRadioButton>(dialog, "ForcePoll")->setChecked(true);
                } else {
                    master->setChecked(on);
                }
                for (const char* name : dependency.dependents) {
                    QVERIFY2(Control<QWidget>(dialog, name)->isEnabled() == master->isChecked(),
                             name);
                }
            }
        }
    }

    // Without a tray the tray options are greyed out and say why; their
    // values stay for a desktop that has one.
    void trayOptionsNeedATray() {
        app::CTarvikApp app;
        app.GetOptions().MinimizeEsc = true;
        const char* trayOptions[] = {"MinimizeEsc", "MinimizeWndMin", "EnableHotkey", "BlinkIcon"};
        for (bool trayThere : {false, true}) {
            app_ui::CTrayIcon::SetAvailabilityProbe([trayThere] { return trayThere; });
            app_ui::COptionsDialog dialog(app, nullptr);
            for (const char* name : trayOptions) {
                auto* box = Control<QCheckBox>(dialog, name);
                QVERIFY2(box->isEnabled() == trayThere, name);
                QVERIFY2(box->toolTip().isEmpty() == trayThere, name);
            }
            QVERIFY(Control<QCheckBox>(dialog, "MinimizeEsc")->isChecked());
            QVERIFY(!dialog.findChild<QWidget*>(QStringLiteral("HotKeyNote")));
        }
        app_ui::CTrayIcon::SetAvailabilityProbe({});
    }

    void reopenSwitchedOffKeepsTheOldValues() {
        app::CTarvikApp app;
        settings::Options& options = app.GetOptions();
        options.OpenFilesWhenStartup = true;
        options.OpenFilesNumberWhenStartup = 5;
        options.ArrangeReopenedFile = 2;
        options.ClearWndWhenOpenFileOnStartUp = true;
        app_ui::COptionsDialog dialog(app, nullptr);
        QCOMPARE(Control<QSpinBox>(dialog, "OpenFilesNumberWhenStartup")->value(), 5);
        QCOMPARE(Control<QComboBox>(dialog, "ArrangeReopenedFile")->currentText(),
                 QStringLiteral("Tile Horizontally"));

        Control<QCheckBox>(dialog, "OpenFilesWhenStartup")->setChecked(false);
        Control<QSpinBox>(dialog, "OpenFilesNumberWhenStartup")->setValue(9);
        Control<QComboBox>(dialog, "ArrangeReopenedFile")->setCurrentIndex(6);
        Control<QCheckBox>(dialog, "ClearWndWhenOpenFileOnStartUp")->setChecked(false);
        ClickOk(dialog);

        const settings::Options stored = StoredOptions();
        for (const settings::Options* o : {&std::as_const(app).GetOptions(), &stored}) {
            QVERIFY(!o->OpenFilesWhenStartup);
            QCOMPARE(o->OpenFilesNumberWhenStartup, 5);
            QCOMPARE(o->ArrangeReopenedFile, 2);
            QVERIFY(o->ClearWndWhenOpenFileOnStartUp);
        }
    }

    // The box shows the association as it stands, and OK changes it only
    // when the box changed: the class root and the desktop's default.
    void associationBoxShowsTheRealStateAndActsOnOk() {
        app_test::TempDesktop desktop;
        app::CTarvikApp app;
        RecordingUi ui;
        app.SetUserInterface(&ui);
        QVERIFY(app::AssociateLog(app::RunningProgramPath()));
        {
            app_ui::COptionsDialog dialog(app, &ui);
            QVERIFY(Control<QCheckBox>(dialog, "AssociateLogFiles")->isChecked());
            Control<QCheckBox>(dialog, "AssociateLogFiles")->setChecked(false);
            ClickOk(dialog);
        }
        QVERIFY(!app::IsLogAssociated(app::RunningProgramPath()));
        QVERIFY(app::QueryDesktopLogDefault() != app::kDesktopEntryName);
        {
            app_ui::COptionsDialog dialog(app, &ui);
            QVERIFY(!Control<QCheckBox>(dialog, "AssociateLogFiles")->isChecked());
            ClickOk(dialog);
        }
        QVERIFY2(!app::IsLogAssociated(app::RunningProgramPath()), "unchanged box, no change");
        {
            app_ui::COptionsDialog dialog(app, &ui);
            Control<QCheckBox>(dialog, "AssociateLogFiles")->setChecked(true);
            ClickOk(dialog);
        }
        QVERIFY(app::IsLogAssociated(app::RunningProgramPath()));
        QCOMPARE(app::QueryDesktopLogDefault(), std::string(app::kDesktopEntryName));
        QVERIFY(ui.messages.isEmpty());
    }

    void defaultEditorDialogRefusesAnEmptyEditorAndSavesTheRowsInOrder() {
        app::CTarvikApp app;
        app.SetFileExtEditors({{u".log", u"less"}});
        RecordingUi ui;
        std::vector<bool> adding;
        app_ui::CDefaultEditorDialog dialog(
            app, &ui, nullptr,
            [&adding](const settings::FileExtEditor& entry, bool isNew,
                      const std::vector<settings::FileExtEditor>&) {
                adding.push_back(isNew);
                return std::optional<settings::FileExtEditor>(
                    isNew ? settings::FileExtEditor{u".xml", u"xml-editor"}
                          : settings::FileExtEditor{entry.extension, u"vi"});
            });
        QVERIFY(!Control<QPushButton>(dialog, "Edit")->isEnabled());
        QVERIFY(!Control<QPushButton>(dialog, "Remove")->isEnabled());
        auto* editor = Control<QLineEdit>(dialog, "DefaultEditor");
        editor->clear();
        ClickOk(dialog);
        QCOMPARE(ui.messages, QStringList{app_ui::ToQString(app::kDefaultEditorRequired)});
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        Control<QPushButton>(dialog, "Default")->click();
        QCOMPARE(editor->text(), QStringLiteral("xdg-open"));

        Control<QPushButton>(dialog, "Add")->click();
        auto* list = Control<QTreeWidget>(dialog, "Editors");
        list->setCurrentItem(list->topLevelItem(0));
        QVERIFY(Control<QPushButton>(dialog, "Remove")->isEnabled());
        Control<QPushButton>(dialog, "Edit")->click();
        QCOMPARE(adding, (std::vector<bool>{true, false}));
        editor->setText(QStringLiteral("gedit"));
        ClickOk(dialog);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));

        app::CTarvikApp fresh;
        bool maximized = true;
        settings::WindowRect rect{};
        fresh.LoadOptions(maximized, rect);
        QVERIFY(fresh.GetOptions().DefaultEditor == u"gedit");
        QVERIFY(fresh.FileExtEditors() ==
                (std::vector<settings::FileExtEditor>{{u".log", u"vi"}, {u".xml", u"xml-editor"}}));

        app_ui::CEditorEntryDialog entry({u".LOG", u"vi"}, true, fresh.FileExtEditors(), &ui);
        ClickOk(entry);
        QCOMPARE(ui.messages.last(),
                 QStringLiteral("File extension \".LOG\" is already available."));
        QCOMPARE(entry.result(), int(QDialog::Rejected));
    }

    void applyStepsComeBackAsEffectsAndOnlyTheDialogGroupIsSaved() {
        app_test::TempDesktop desktop;  // the box is ticked: .log files get associated
        app::CTarvikApp app;
        app.GetOptions().MaxBufSiz = 4096;  // not the dialog's to save
        app_ui::COptionsDialog dialog(app, nullptr);
        Control<QSpinBox>(dialog, "TabSize")->setValue(8);
        Control<QCheckBox>(dialog, "StatusbarClock")->setChecked(false);
        Control<QCheckBox>(dialog, "FlashTabItem")->setChecked(false);
        QCOMPARE(Control<QCheckBox>(dialog, "WatchFileEvents")->text(),
                 QStringLiteral("Show new lines at once (file events)"));
        Control<QCheckBox>(dialog, "WatchFileEvents")->setChecked(false);
        Control<QCheckBox>(dialog, "AssociateLogFiles")->setChecked(true);
        Control<QCheckBox>(dialog, "EnableMaxTabItemLen")->setChecked(true);
        Control<QRadioButton>(dialog, "ForcePoll")->setChecked(true);
        Control<QComboBox>(dialog, "TextEncoding")->setCurrentIndex(2);
        ClickOk(dialog);

        const app::OptionsApplyEffects& effects = dialog.Effects();
        QVERIFY(effects.viewsTakeTabSize);
        QVERIFY(effects.clockPane == std::optional<bool>(false));
        QVERIFY(effects.stopTabFlashing);
        QVERIFY(effects.associateLogFiles == std::optional<bool>(true));
        QVERIFY(effects.rebuildTabTexts);
        QVERIFY(!effects.hotKey.has_value());
        QVERIFY(!effects.viewsTakeWheelValues);

        QVERIFY(StoreHasValue(u"TabSize"));
        QVERIFY(StoreHasValue(u"ShowSpaceForBadChar"));
        QVERIFY(!StoreHasValue(u"MaxBufSiz"));
        QVERIFY(!StoreHasValue(u"UFont"));
        const settings::Options stored = StoredOptions();
        QCOMPARE(stored.TabSize, 8);
        QVERIFY(!stored.StatusbarClock);
        QVERIFY(stored.ForcePoll);
        QVERIFY(!stored.WatchFileEvents);
        QVERIFY(!app.GetOptions().WatchFileEvents);
        QVERIFY(stored.EnableMaxTabItemLen);
        QVERIFY(stored.TextEncoding == settings::TextEncodingChoice::Utf8);
    }

    void boundCharactersRoundTripThroughTheirEditor() {
        app::CTarvikApp app;
        app_ui::COptionsDialog dialog(app, nullptr);
        QString shownText;
        QTimer::singleShot(0, [&shownText] {
            auto* editor =
                qobject_cast<app_ui::CBoundCharactersDialog*>(QApplication::activeModalWidget());
            if (!editor) return;
            shownText = editor->Editor()->toPlainText();
            editor->Editor()->setPlainText(QStringLiteral("ab\nc\n<>\n{}"));
            editor->accept();
        });
        Control<QPushButton>(dialog, "EditBoundCharacters")->click();
        QCOMPARE(shownText, QStringLiteral("\"\"\n[]\n()\n"));
        QVERIFY2(app.GetOptions().LeftBounds == u"\"[(", "taken only on OK");

        ClickOk(dialog);
        QVERIFY(app.GetOptions().LeftBounds == u"a<{");
        QVERIFY(app.GetOptions().RightBounds == u"b>}");

        app_ui::CBoundCharactersDialog reopened({u"a<{", u"b>}"});
        QCOMPARE(reopened.Editor()->toPlainText(), QStringLiteral("ab\n<>\n{}\n"));
        QVERIFY(reopened.Pairs() == (settings::BoundPairs{u"a<{", u"b>}"}));
    }

    void bufferSizeDialogTrimsARealDocument() {
        const QString path = dir_.Folder() + QStringLiteral("/big.log");
        {
            std::ofstream out(path.toStdString(), std::ios::binary | std::ios::trunc);
            for (int i = 0; i < 1000; ++i) out << "line " << i << "\n";
        }
        app::CTarvikApp app;
        RecordingUi ui;
        app.SetUserInterface(&ui);
        core::CTarvikDoc* doc = app.OpenDocument(path.toStdU16String());
        QVERIFY(doc);
        QCOMPARE(doc->Buffer().LineCount(), 1001);

        app_ui::CBufferSizeDialog dialog(app, &ui);
        QCOMPARE(dialog.SizeEdit()->text(), QStringLiteral("20"));
        QCOMPARE(dialog.UnitBox()->currentIndex(), int(app_ui::CBufferSizeDialog::Megabytes));
        dialog.SizeEdit()->setText(QStringLiteral("0"));
        ClickOk(dialog);
        QCOMPARE(ui.messages, QStringList{app_ui::ToQString(app_ui::kBufferSizeRefused)});
        QCOMPARE(doc->Buffer().LineCount(), 1001);

        dialog.SizeEdit()->setText(QStringLiteral("1"));
        dialog.UnitBox()->setCurrentIndex(app_ui::CBufferSizeDialog::Kilobytes);
        dialog.RetainBox()->setValue(10);
        ClickOk(dialog);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(doc->Buffer().LineCount(), 10);
        QVERIFY(doc->Buffer().LineText(8) == u"line 999");
        QCOMPARE(StoredOptions().MaxBufSiz, 1024u);
        QCOMPARE(StoredOptions().RetainLineNum, 10);
        QVERIFY(!StoreHasValue(u"TabSize"));
    }

    void bufferSizeWithoutLimitGreysOutTheSizeAndKeepsIt() {
        app::CTarvikApp app;
        app.GetOptions().MaxBufSiz = 3000000001u;
        app_ui::CBufferSizeDialog dialog(app, nullptr);
        QCOMPARE(dialog.SizeEdit()->text(), QStringLiteral("3000000001"));
        dialog.LimitBox()->setChecked(false);
        QVERIFY(!dialog.SizeEdit()->isEnabled());
        QVERIFY(!dialog.RetainBox()->isEnabled());
        dialog.SizeEdit()->setText(QString());
        ClickOk(dialog);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!app.GetOptions().LimitBufSize);
        QCOMPARE(app.GetOptions().MaxBufSiz, 3000000001u);

        using Dialog = app_ui::CBufferSizeDialog;
        QVERIFY(Dialog::ParseSize(QStringLiteral("4095"), Dialog::Megabytes).has_value());
        QVERIFY(!Dialog::ParseSize(QStringLiteral("4096"), Dialog::Megabytes).has_value());
        QVERIFY(!Dialog::ParseSize(QStringLiteral("4294967296"), Dialog::Bytes).has_value());
    }

    void refreshRateRefusesZeroAndTakesAChange() {
        app::CTarvikApp app;
        RecordingUi ui;
        app.SetUserInterface(&ui);
        app_ui::CRefreshRateDialog dialog(app);
        QCOMPARE(dialog.RateBox()->value(), 100);
        dialog.RateBox()->setValue(0);
        ClickOk(dialog);
        QCOMPARE(ui.messages, QStringList{QStringLiteral("Please enter a positive value.")});
        QVERIFY(ui.icons.back() == core::MessageIcon::Exclamation);
        QVERIFY(dialog.Result() == app::RefreshRateResult::Refused);
        QVERIFY(dialog.result() != QDialog::Accepted);

        dialog.RateBox()->setValue(250);
        ClickOk(dialog);
        QVERIFY(dialog.Result() == app::RefreshRateResult::Changed);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(app.GetOptions().IntervalChkFile, 250u);
        QCOMPARE(StoredOptions().IntervalChkFile, 250u);
    }

    void capturedProcessIdRefusesWhatItCannotHold() {
        RecordingUi ui;
        capture_ui::CCapturedProcessDialog dialog(false, 4242, &ui);
        auto* id = Control<QLineEdit>(dialog, "ProcessId");
        for (const QString& bad : {QString(), QStringLiteral("4294967296")}) {
            id->setText(bad);
            ClickOk(dialog);
            QVERIFY(dialog.result() != QDialog::Accepted);
            QVERIFY(!dialog.ProcessId());
        }
        QCOMPARE(ui.messages.size(), 2);
        QVERIFY(ui.icons.back() == core::MessageIcon::Exclamation);
        // Capturing all processes leaves the stored id alone.
        Control<QRadioButton>(dialog, "AllProcesses")->setChecked(true);
        ClickOk(dialog);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(ui.messages.size(), 2);
        id->setText(QStringLiteral("4294967295"));
        QCOMPARE(dialog.ProcessId(), std::optional<std::uint32_t>(4294967295u));
    }

    void spinArrowsStayInTheOfferedRange() {
        app::CTarvikApp app;
        app_ui::COptionsDialog dialog(app, nullptr);
        auto* count = Control<QSpinBox>(dialog, "OpenFilesNumberWhenStartup");
        count->setValue(1);
        count->stepBy(-1);
        QCOMPARE(count->value(), 1);
        count->setValue(50);
        count->stepBy(1);
        QCOMPARE(count->value(), 50);
        auto* tabSize = Control<QSpinBox>(dialog, "TabSize");
        tabSize->setValue(64);
        tabSize->stepBy(1);
        QCOMPARE(tabSize->value(), 64);
    }

    // The dialog as people see it; a check box shows its state in the pixels.
    void screenshotShowsTheCheckBoxStates() {
        app::CTarvikApp app;
        app_ui::COptionsDialog dialog(app, nullptr);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* box = Control<QCheckBox>(dialog, "OpenFilesWhenStartup");
        const QRect area(box->mapTo(&dialog, QPoint(0, 0)), box->size());
        box->setChecked(false);
        const QImage unchecked = dialog.grab().toImage().copy(area);
        box->setChecked(true);
        const QImage shot = dialog.grab().toImage();
        QVERIFY(shot.save(QStringLiteral(TARVIK_ARTIFACTS_DIR "/options-dialog.png")));
        QVERIFY(shot.copy(area) != unchecked);
    }

private:
    ui_test::TestFolder dir_;
};

QTEST_MAIN(OptionsDialogTest)
#include "OptionsDialogTest.moc"
