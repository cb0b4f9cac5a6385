// Save As and Save All As as a person uses them: the menu commands, the
// "Save All As" dialog and the file dialog, with real documents and a real
// settings store; and the saved page shown by a real browser.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>
#include <functional>

#include "DialogControls.h"
#include "TestFolder.h"
#include "app/TarvikApp.h"
#include "app/ui/FrameCommandIds.h"
#include "app/ui/MainFrame.h"
#include "core/DocCommandIds.h"
#include "export/ui/SaveAllAsDialog.h"
#include "filters/HighlightFilter.h"
#include "settings/OptionsStore.h"

using exporting_ui::CSaveAllAsDialog;
using ui_test::Click;
using ui_test::Control;

namespace {

// Runs act on the next modal dialog of type Dialog once it is up.
template <typename Dialog>
void WhenModal(std::function<void(Dialog*)> act, int tries = 1000) {
    QTimer::singleShot(0, [act, tries] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            act(dialog);
        } else if (tries > 0) {
            WhenModal<Dialog>(act, tries - 1);
        }
    });
}

// Names path in the next file dialog and accepts it.
void ChooseFile(const QString& path) {
    WhenModal<QFileDialog>([path](QFileDialog* chooser) {
        chooser->selectFile(path);
        static_cast<QDialog*>(chooser)->accept();
    });
}

std::vector<std::uintptr_t> Keys(const CSaveAllAsDialog& dialog) {
    std::vector<std::uintptr_t> keys;
    for (const void* key : dialog.Keys()) keys.push_back(reinterpret_cast<std::uintptr_t>(key));
    return keys;
}

void SelectRows(const CSaveAllAsDialog& dialog, std::initializer_list<int> rows) {
    auto* list = Control<QTreeWidget>(dialog, "Files");
    list->clearSelection();
    for (const int row : rows) list->topLevelItem(row)->setSelected(true);
}

QByteArray Utf16(const QString& text) {
    QByteArray bytes("\xFF\xFE", 2);
    for (const QChar ch : text) {
        bytes.append(static_cast<char>(ch.unicode() & 0xFF));
        bytes.append(static_cast<char>(ch.unicode() >> 8));
    }
    return bytes;
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

// Headless Chromium with a profile of its own; empty output when it did not
// run to its end.
QByteArray RunChromium(const QString& profile, const QStringList& arguments) {
    QProcess browser;
    browser.setProcessChannelMode(QProcess::SeparateChannels);
    browser.start(QStringLiteral("chromium"),
                  QStringList{"--headless", "--no-sandbox", "--disable-gpu",
                              "--disable-background-networking", "--user-data-dir=" + profile} +
                      arguments);
    if (!browser.waitForFinished(120000) || browser.exitCode() != 0) return {};
    return browser.readAllStandardOutput();
}

}  // namespace

class ExportTest : public QObject {
    Q_OBJECT

private:
    ui_test::TestFolder dir_;

private slots:
    void init() { dir_.UseNextStore(); }

    void saveAllAsDialogOrdersRemovesAndResetsItsRows() {
        std::vector<exporting_ui::SaveAllRow> rows;
        for (std::uintptr_t key = 1; key <= 4; ++key) {
            rows.push_back({QString::number(key), QStringLiteral("1Byte"),
                            reinterpret_cast<const void*>(key)});
        }
        CSaveAllAsDialog dialog(rows, false, 40000, nullptr);
        QVERIFY(!Control<QCheckBox>(dialog, "WriteFilePath")->isChecked());
        QCOMPARE(Control<QSpinBox>(dialog, "BlankLines")->value(), 32767);
        for (const char* name : {"Up", "Down", "Remove"})
            QVERIFY(!Control<QPushButton>(dialog, name)->isEnabled());
        QVERIFY(Control<QPushButton>(dialog, "Save")->isEnabled());

        SelectRows(dialog, {1, 2});
        QVERIFY(Control<QPushButton>(dialog, "Up")->isEnabled());
        Click(dialog, "Up");
        QCOMPARE(Keys(dialog), (std::vector<std::uintptr_t>{2, 3, 1, 4}));
        // The selection moved with the rows; at the top they stay.
        Click(dialog, "Up");
        QCOMPARE(Keys(dialog), (std::vector<std::uintptr_t>{2, 3, 1, 4}));
        Click(dialog, "Down");
        QCOMPARE(Keys(dialog), (std::vector<std::uintptr_t>{1, 2, 3, 4}));
        SelectRows(dialog, {0, 3});
        Click(dialog, "Down");
        QCOMPARE(Keys(dialog), (std::vector<std::uintptr_t>{1, 2, 3, 4}));

        SelectRows(dialog, {1});
        Click(dialog, "Remove");
        QCOMPARE(Keys(dialog), (std::vector<std::uintptr_t>{1, 3, 4}));
        SelectRows(dialog, {0, 1, 2});
        Click(dialog, "Remove");
        QVERIFY(dialog.Keys().empty());
        QVERIFY(!Control<QPushButton>(dialog, "Save")->isEnabled());
        QVERIFY(!Control<QPushButton>(dialog, "Remove")->isEnabled());
        Click(dialog, "Reset");
        QCOMPARE(Keys(dialog), (std::vector<std::uintptr_t>{1, 2, 3, 4}));
        QVERIFY(Control<QPushButton>(dialog, "Save")->isEnabled());
    }

    void saveAsAndSaveAllAsFromTheMenuWriteWhatTheDocumentsShow() {
        const QString first = dir_.WriteFile("first.log", "alpha");
        const QString second = dir_.WriteFile("second.log", "beta");
        app::CTarvikApp app;
        app_ui::CMainFrame frame(app);
        frame.show();
        frame.OpenFiles(ui_test::Paths({first, second}));
        QCOMPARE(app.Documents().size(), std::size_t{2});

        // The web page is offered first; a name without extension gets its.
        QStringList filters;
        QString shownFilter;
        WhenModal<QFileDialog>([&](QFileDialog* chooser) {
            filters = chooser->nameFilters();
            shownFilter = chooser->findChild<QComboBox*>("fileTypeCombo")->currentText();
            chooser->selectFile(dir_.Path("page"));
            static_cast<QDialog*>(chooser)->accept();
        });
        QVERIFY(frame.RunCommand(core::kCmdSaveAs));
        QCOMPARE(filters.size(), 2);
        QCOMPARE(shownFilter, QStringLiteral("Web Page with Highlight Color (*.htm;*.html)"));
        QVERIFY(ReadAll(dir_.Path("page.htm")).startsWith("<html><head>"));
        QVERIFY(ReadAll(dir_.Path("page.htm")).contains("beta<br>"));
        WhenModal<QFileDialog>([&](QFileDialog* chooser) {
            auto* kinds = chooser->findChild<QComboBox*>("fileTypeCombo");
            kinds->setCurrentIndex(1);
            emit kinds->textActivated(kinds->currentText());
            chooser->selectFile(dir_.Path("plain"));
            static_cast<QDialog*>(chooser)->accept();
        });
        QVERIFY(frame.RunCommand(core::kCmdSaveAs));
        QCOMPARE(ReadAll(dir_.Path("plain.txt")), Utf16("beta"));

        // Save All As: the second document moved up, no paths, one blank line.
        QStringList files;
        WhenModal<CSaveAllAsDialog>([&](CSaveAllAsDialog* dialog) {
            auto* list = Control<QTreeWidget>(*dialog, "Files");
            for (int row = 0; row < list->topLevelItemCount(); ++row)
                files << list->topLevelItem(row)->text(0) + " " + list->topLevelItem(row)->text(1);
            SelectRows(*dialog, {1});
            Click(*dialog, "Up");
            Control<QCheckBox>(*dialog, "WriteFilePath")->setChecked(false);
            Control<QSpinBox>(*dialog, "BlankLines")->setValue(1);
            ChooseFile(dir_.Path("all.txt"));
            Click(*dialog, "Save");
        });
        QVERIFY(frame.RunCommand(app_ui::kCmdSaveAllAs));
        QCOMPARE(files, (QStringList{first + " 10Byte", second + " 8Byte"}));
        QCOMPARE(ReadAll(dir_.Path("all.txt")), Utf16("beta\r\nalpha\r\n"));

        // The options are kept and stored with their group.
        QVERIFY(!app.GetOptions().WriteFilePath);
        QCOMPARE(app.GetOptions().BlankLines, 1);
        settings::Options stored;
        bool maximized = true;
        settings::WindowRect rect;
        settings::LoadOptionValues(stored, maximized, rect);
        QVERIFY(!stored.WriteFilePath);
        QCOMPARE(stored.BlankLines, 1);
    }

    void browserShowsTheSavedPageInTheViewsColours() {
        if (QStandardPaths::findExecutable(QStringLiteral("chromium")).isEmpty())
            QFAIL("chromium is not installed (scripts/deps.sh installs it)");
        // White on blue for the phrase; the rest of its line in the
        // highlighted-line colour, red 255, green 255, blue 192.
        filters::HighlightFilter error;
        error.phrase.Assign(u"ERROR", false, false);
        error.TextColor = 0xFFFFFF;
        error.BkgColor = 0xFF0000;
        error.Enable = true;
        app::CTarvikApp app;
        app.HighlightFilters().Replace({error});
        app_ui::CMainFrame frame(app);
        frame.show();
        const QString log =
            dir_.WriteFile("app.log", QStringLiteral("12:00 ERROR ERROR ERROR ERROR disk full\n"
                                                     "Grüße € ошибка  two spaces")
                                          .toUtf8());
        frame.OpenFiles(ui_test::Paths({log}));
        ChooseFile(dir_.Path("coloured.htm"));
        QVERIFY(frame.RunCommand(core::kCmdSaveAs));

        const QString png = QStringLiteral(TARVIK_ARTIFACTS_DIR "/export-page.png");
        QFile::remove(png);
        RunChromium(dir_.Path("profile"),
                    {"--screenshot=" + png, "--window-size=640,200",
                     QUrl::fromLocalFile(dir_.Path("coloured.htm")).toString()});
        const QImage shot(png);
        QVERIFY2(!shot.isNull(), "the browser made no screenshot");
        const QRgb phraseBkg = qRgb(0, 0, 255);
        const QRgb lineBkg = qRgb(255, 255, 192);
        int phraseRow = -1, phraseLeft = shot.width(), lineLeft = shot.width();
        for (int y = 0; y < shot.height() && phraseRow < 0; ++y) {
            for (int x = 0; x < shot.width(); ++x) {
                if (shot.pixel(x, y) == phraseBkg) {
                    phraseRow = y;
                    phraseLeft = std::min(phraseLeft, x);
                }
                if (shot.pixel(x, y) == lineBkg) lineLeft = std::min(lineLeft, x);
            }
        }
        QVERIFY2(phraseRow >= 0, "no pixel in the phrase's background");
        // "12:00 " comes first, on the highlighted line's background.
        QVERIFY(lineLeft < phraseLeft);
        // The phrase's white letters stand on its background.
        bool whiteInPhrase = false;
        for (int x = phraseLeft; x < shot.width(); ++x) {
            for (int y = phraseRow; y < std::min(phraseRow + 20, shot.height()); ++y)
                whiteInPhrase = whiteInPhrase || shot.pixel(x, y) == qRgb(255, 255, 255);
        }
        QVERIFY(whiteInPhrase);

        // Served by a web server that names no charset, the text still reads
        // right: the page names its own.
        QProcess server;
        server.setProcessChannelMode(QProcess::MergedChannels);
        server.start(QStringLiteral("python3"), {"-u", "-m", "http.server", "0", "--bind",
                                                 "127.0.0.1", "--directory", dir_.Folder()});
        QVERIFY(server.waitForStarted());
        QByteArray banner;
        while (!banner.contains(") ...") && server.waitForReadyRead(30000))
            banner += server.readAll();
        const QRegularExpressionMatch port =
            QRegularExpression(QStringLiteral("port (\\d+)")).match(QString::fromUtf8(banner));
        QVERIFY2(port.hasMatch(), banner.constData());
        const QByteArray dom =
            RunChromium(dir_.Path("profile"),
                        {"--dump-dom", "http://127.0.0.1:" + port.captured(1) + "/coloured.htm"});
        server.kill();
        server.waitForFinished();
        QVERIFY2(dom.contains(QStringLiteral("Grüße € ошибка &nbsp;two spaces").toUtf8()),
                 dom.constData());
    }
};

QTEST_MAIN(ExportTest)
#include "ExportTest.moc"
