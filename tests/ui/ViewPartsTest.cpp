// The log view's companions: margin images, the go-to-line dialog, the find
// and replace dialogs with their remembered fields, page margins and printing.

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <string>
#include <vector>

#include "ViewTestFakes.h"
#include "core/ITextBufferReader.h"
#include "core/LineFlagBits.h"
#include "platform/Registry.h"
#include "settings/RegistryPaths.h"
#include "view/FindDialog.h"
#include "view/GoToLineDialog.h"
#include "view/MarkImages.h"
#include "view/PageSetup.h"
#include "view/ReplaceDialog.h"
#include "view/SearchSettings.h"
#include "view/ViewPrinter.h"

namespace {

class FakeBuffer : public core::ITextBufferReader {
public:
    std::vector<std::u16string> lines;

    int LineCount() const override { return static_cast<int>(lines.size()); }
    int LineLength(int line) const override { return static_cast<int>(LineText(line).size()); }
    std::u16string_view LineText(int line) const override {
        if (line < 0 || line >= LineCount()) return {};
        return lines[static_cast<std::size_t>(line)];
    }
    std::uint32_t LineFlags(int) const override { return 0; }
};

// Keeps the refusal instead of showing a modal box.
class QuietGoToLineDialog : public view::CGoToLineDialog {
public:
    using CGoToLineDialog::CGoToLineDialog;
    QStringList messages;

protected:
    void ShowRangeMessage(const QString& message) override { messages << message; }
};

bool IsTransparent(const QImage& image, int x, int y) {
    return qAlpha(image.pixel(x, y)) == 0;
}

// Counts pixels in a band of rows that satisfy a test.
template <typename Test>
int CountPixels(const QImage& image, int top, int bottom, Test test) {
    int count = 0;
    for (int y = std::max(0, top); y < std::min(image.height(), bottom); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (test(image.pixelColor(x, y))) ++count;
        }
    }
    return count;
}

bool IsInk(const QColor& c) {
    return c != QColor(Qt::white);
}

QImage BandOf(const QImage& image, int top, int bottom) {
    return image.copy(0, top, image.width(), bottom - top);
}

constexpr QSize kPaper(600, 800);
constexpr int kDpi = 96;
// 10 mm at 96 dpi.
constexpr int kMarginPixels = 38;

}  // namespace

class ViewPartsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void markImagesAreSmallTransparentAndDistinct();
    void markImageFollowsTheLineFlags();

    void goToLineAcceptsOnlyLinesOfTheDocument();
    void goToLineRefusesOutOfRangeAndStaysOpen();
    void goToLineShowsAWarningBox();

    void searchSettingsRoundTripPerDialog();
    void searchSettingsIgnoreDamagedValues();
    void findDialogRemembersWhatWasSearched();
    void replaceDialogHandsOverItsRequests();

    void pageSetupRoundTripAndBadMargins();
    void printedPageHasColouredRunsAndFooter();
    void printedPagesNumberTheirFooters();
    void printingWrapsLongLinesAndExpandsTabs();
    void printingHighlightsWholeLineWhenAsked();
    void printingAnEmptyRangeGivesOneBlankPage();
    void printsToAPdfPrinter();
    void viewPrintsItsSelectionInItsFontAndColours();

private:
    QTemporaryDir dir_;
};

void ViewPartsTest::initTestCase() {
    QVERIFY(dir_.isValid());
    platform::registry_store::UsePath((dir_.path() + "/registry.db").toStdString());
}

void ViewPartsTest::markImagesAreSmallTransparentAndDistinct() {
    QList<QImage> images;
    for (int i = 0; i < view::kMarkImageCount; ++i) {
        const QImage image = view::MarkImage(i).toImage();
        QCOMPARE(image.size(), QSize(13, 13));
        QVERIFY(image.hasAlphaChannel());
        QVERIFY(IsTransparent(image, 0, 0));
        QVERIFY(IsTransparent(image, 12, 12));
        int opaque = 0;
        for (int y = 0; y < 13; ++y) {
            for (int x = 0; x < 13; ++x) {
                const QRgb pixel = image.pixel(x, y);
                if (qAlpha(pixel) == 0) continue;
                ++opaque;
                QVERIFY2((pixel & 0xFFFFFF) != 0xFFFFFF, "white must be transparent");
            }
        }
        QVERIFY2(opaque > 20, qPrintable(QString("image %1 is nearly empty").arg(i)));
        for (const QImage& other : images) QVERIFY(other != image);
        images << image;
    }
    QVERIFY(view::MarkImage(-1).isNull());
    QVERIFY(view::MarkImage(view::kMarkImageCount).isNull());
    view::DrawMarkImage(7).scaled(130, 130).save(QString(TARVIK_ARTIFACTS_DIR) + "/mark7.png");
    view::DrawMarkImage(view::kBookmarkImage)
        .scaled(130, 130)
        .save(QString(TARVIK_ARTIFACTS_DIR) + "/mark-bookmark.png");
}

void ViewPartsTest::markImageFollowsTheLineFlags() {
    QCOMPARE(view::MarkImageForFlags(0), -1);
    QCOMPARE(view::MarkImageForFlags(core::kRedLineFlag), -1);
    QCOMPARE(view::MarkImageForFlags(core::NumberedBookmarkFlag(0)), 0);
    QCOMPARE(view::MarkImageForFlags(core::NumberedBookmarkFlag(9) | core::kRedLineFlag), 9);
    QCOMPARE(view::MarkImageForFlags(core::kBookmarkFlag), view::kBookmarkImage);
    // Numbered bookmarks 1-9 come before 0, and 0 before the bookmark.
    QCOMPARE(view::MarkImageForFlags(core::NumberedBookmarkFlag(0) | core::NumberedBookmarkFlag(4)),
             4);
    QCOMPARE(view::MarkImageForFlags(core::NumberedBookmarkFlag(0) | core::kBookmarkFlag), 0);
}

void ViewPartsTest::goToLineAcceptsOnlyLinesOfTheDocument() {
    using view::CGoToLineDialog;
    QCOMPARE(CGoToLineDialog::ParseLine("1", 12), std::optional<int>(1));
    QCOMPARE(CGoToLineDialog::ParseLine("12", 12), std::optional<int>(12));
    QCOMPARE(CGoToLineDialog::ParseLine(" 7 ", 12), std::optional<int>(7));
    QCOMPARE(CGoToLineDialog::ParseLine("0", 12), std::nullopt);
    QCOMPARE(CGoToLineDialog::ParseLine("13", 12), std::nullopt);
    QCOMPARE(CGoToLineDialog::ParseLine("", 12), std::nullopt);
    QCOMPARE(CGoToLineDialog::ParseLine("x", 12), std::nullopt);
    QCOMPARE(CGoToLineDialog::ParseLine("99999999999999999999", 12), std::nullopt);
    QCOMPARE(CGoToLineDialog::PromptText(12), QString("Enter Line Number (1 - 12):"));
    QCOMPARE(CGoToLineDialog::RangeMessage(12), QString("Please enter a number between 1 and 12."));
}

void ViewPartsTest::goToLineRefusesOutOfRangeAndStaysOpen() {
    QuietGoToLineDialog dialog(12, 5);
    QCOMPARE(dialog.LineEdit()->text(), QString("5"));
    dialog.show();

    for (const QString& bad : {QString("0"), QString("13")}) {
        dialog.LineEdit()->setText(bad);
        dialog.accept();
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }
    QCOMPARE(dialog.messages, QStringList(2, "Please enter a number between 1 and 12."));

    dialog.LineEdit()->setText("12");
    dialog.accept();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.Line(), 12);
    QCOMPARE(dialog.messages.size(), 2);
}

void ViewPartsTest::goToLineShowsAWarningBox() {
    view::CGoToLineDialog dialog(3, 1);
    dialog.show();
    dialog.LineEdit()->setText("4");
    QString shownText;
    QMessageBox::Icon shownIcon = QMessageBox::NoIcon;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        shownText = box->text();
        shownIcon = box->icon();
        box->accept();
        closer.stop();
    });
    closer.start(10);
    dialog.accept();
    QCOMPARE(shownText, QString("Please enter a number between 1 and 3."));
    QCOMPARE(shownIcon, QMessageBox::Warning);
    QVERIFY(dialog.isVisible());
}

void ViewPartsTest::searchSettingsRoundTripPerDialog() {
    using view::SearchDialogKind;
    view::SearchSettings find;
    find.findWhat = u"needle";
    find.replaceWith = u"ignored";
    find.matchCase = true;
    QVERIFY(find.Save(SearchDialogKind::Find));
    view::SearchSettings replace;
    replace.findWhat = u"old";
    replace.replaceWith = u"new text";
    replace.wholeWord = true;
    QVERIFY(replace.Save(SearchDialogKind::Replace));

    view::SearchSettings expectedFind = find;
    expectedFind.replaceWith.clear();
    QCOMPARE(view::SearchSettings::Load(SearchDialogKind::Find), expectedFind);
    QCOMPARE(view::SearchSettings::Load(SearchDialogKind::Replace), replace);

    platform::RegKey key;
    QCOMPARE(key.Open(platform::RegRoot::CurrentUser, u"Software\\Ostra Tarvik\\Edit\\Replace"),
             platform::ERROR_SUCCESS);
    std::u16string text;
    QCOMPARE(key.QueryString(u"ReplaceWith", text), platform::ERROR_SUCCESS);
    QVERIFY(text == u"new text");
    platform::DWORD flag = 7;
    QCOMPARE(key.QueryDWORD(u"WholeWord", flag), platform::ERROR_SUCCESS);
    QCOMPARE(flag, platform::DWORD{1});
}

void ViewPartsTest::searchSettingsIgnoreDamagedValues() {
    platform::RegKey key;
    QCOMPARE(key.Create(platform::RegRoot::CurrentUser, u"Software\\Ostra Tarvik\\Edit\\Find"),
             platform::ERROR_SUCCESS);
    key.SetString(u"FindWhat", u"kept");
    key.SetString(u"MatchCase", u"yes");
    const std::uint8_t shortNumber[2] = {1, 0};
    key.SetBinary(u"WholeWord", shortNumber, 2);
    const view::SearchSettings loaded = view::SearchSettings::Load(view::SearchDialogKind::Find);
    QVERIFY(loaded.findWhat == u"kept");
    QVERIFY(!loaded.matchCase);
    QVERIFY(!loaded.wholeWord);
}

void ViewPartsTest::findDialogRemembersWhatWasSearched() {
    view::SearchSettings stored;
    stored.findWhat = u"error";
    stored.wholeWord = true;
    QVERIFY(stored.Save(view::SearchDialogKind::Find));

    view::CFindDialog dialog;
    QCOMPARE(dialog.Request().text, QString("error"));
    QVERIFY(dialog.Request().wholeWord);
    QVERIFY(!dialog.Request().matchCase);

    QSignalSpy spy(&dialog, &view::CFindDialog::FindNext);
    dialog.FindEdit()->clear();
    QVERIFY(!dialog.FindNextButton()->isEnabled());
    dialog.FindNextButton()->click();
    QCOMPARE(spy.size(), 0);

    view::FindRequest request;
    request.text = "Warn.*ing";
    request.matchCase = true;
    request.regularExpression = true;
    request.down = false;
    dialog.SetRequest(request);
    dialog.FindNextButton()->click();
    QCOMPARE(spy.size(), 1);
    const auto sent = spy.at(0).at(0).value<view::FindRequest>();
    QCOMPARE(sent.text, QString("Warn.*ing"));
    QVERIFY(sent.matchCase && sent.regularExpression && !sent.down && !sent.wholeWord);

    const view::SearchSettings saved = view::SearchSettings::Load(view::SearchDialogKind::Find);
    QVERIFY(saved.findWhat == u"Warn.*ing");
    QVERIFY(saved.matchCase);
    QVERIFY(!saved.wholeWord);

    view::CFindDialog next;
    QCOMPARE(next.Request().text, QString("Warn.*ing"));
}

void ViewPartsTest::replaceDialogHandsOverItsRequests() {
    view::CReplaceDialog dialog;
    QSignalSpy finds(&dialog, &view::CReplaceDialog::FindNext);
    QSignalSpy replaces(&dialog, &view::CReplaceDialog::Replace);
    QSignalSpy replaceAlls(&dialog, &view::CReplaceDialog::ReplaceAll);

    dialog.FindEdit()->setText("foo");
    dialog.ReplaceEdit()->setText("bar");
    dialog.ReplaceAllButton()->click();
    dialog.ReplaceButton()->click();
    dialog.FindNextButton()->click();
    QCOMPARE(replaceAlls.size(), 1);
    QCOMPARE(replaces.size(), 1);
    QCOMPARE(finds.size(), 1);
    const auto all = replaceAlls.at(0).at(0).value<view::ReplaceRequest>();
    QCOMPARE(all.find.text, QString("foo"));
    QCOMPARE(all.replaceWith, QString("bar"));

    const view::SearchSettings saved = view::SearchSettings::Load(view::SearchDialogKind::Replace);
    QVERIFY(saved.findWhat == u"foo");
    QVERIFY(saved.replaceWith == u"bar");
    // The Find dialog's fields are its own.
    QVERIFY(view::SearchSettings::Load(view::SearchDialogKind::Find).findWhat != u"foo");

    view::CReplaceDialog reopened;
    QCOMPARE(reopened.Request().replaceWith, QString("bar"));

    reopened.FindEdit()->clear();
    QVERIFY(!reopened.ReplaceAllButton()->isEnabled());
}

void ViewPartsTest::pageSetupRoundTripAndBadMargins() {
    QCOMPARE(view::PageSetup::Load(), view::PageSetup{});
    view::PageSetup setup;
    setup.leftMargin = 2540;
    setup.rightMargin = 0;
    setup.topMargin = 500;
    setup.bottomMargin = 1500;
    QVERIFY(setup.Save());
    QCOMPARE(view::PageSetup::Load(), setup);

    platform::RegKey key;
    QCOMPARE(key.Open(platform::RegRoot::CurrentUser, u"Software\\Ostra Tarvik\\Edit\\PageSetup"),
             platform::ERROR_SUCCESS);
    key.SetDWORD(u"TopMargin", static_cast<platform::DWORD>(-5));
    key.SetString(u"LeftMargin", u"wide");
    const view::PageSetup damaged = view::PageSetup::Load();
    QCOMPARE(damaged.topMargin, view::PageSetup::kDefaultMargin);
    QCOMPARE(damaged.leftMargin, view::PageSetup::kDefaultMargin);
    QCOMPARE(damaged.bottomMargin, 1500);

    // One inch is 2540 hundredths of a millimetre.
    QCOMPARE(setup.PrintArea(QRect(0, 0, 1000, 2000), 100, 200), QRect(100, 39, 900, 1843));
    view::PageSetup huge;
    huge.leftMargin = huge.rightMargin = view::PageSetup::kMaxMargin;
    QCOMPARE(huge.PrintArea(QRect(0, 0, 300, 300), 96, 96), QRect(0, 0, 300, 300));
}

void ViewPartsTest::printedPageHasColouredRunsAndFooter() {
    FakeBuffer buffer;
    buffer.lines = {u"first line", u"an ERROR here", u"last"};
    view::CViewPrinter printer(buffer, [](int line, std::uint32_t&, std::uint32_t&) {
        filters::HighlightRunList runs;
        if (line == 1) runs.push_back({3, 5, 0x000000FF, 0x0000FF00});  // red on green
        return runs;
    });
    printer.SetPageSetup(view::PageSetup{});
    QCOMPARE(printer.ImagePageCount(kPaper, kDpi), 1);
    const QImage page = printer.RenderPage(1, kPaper, kDpi);
    page.save(QString(TARVIK_ARTIFACTS_DIR) + "/printed-page.png");
    QCOMPARE(page.size(), kPaper);

    const auto isGreen = [](const QColor& c) { return c == QColor(0, 255, 0); };
    const auto isRed = [](const QColor& c) {
        return c.red() > 180 && c.green() < 100 && c.blue() < 100;
    };
    // Nothing is printed in the margins.
    QCOMPARE(CountPixels(page, 0, kMarginPixels - 1, IsInk), 0);
    QCOMPARE(CountPixels(page, kPaper.height() - kMarginPixels + 1, kPaper.height(), IsInk), 0);

    const int greenPixels = CountPixels(page, 0, kPaper.height(), isGreen);
    QVERIFY(greenPixels > 0);
    QVERIFY(CountPixels(page, 0, kPaper.height(), isRed) > 0);
    // The run sits on the second row only: find the green band.
    int greenTop = -1;
    for (int y = 0; y < page.height() && greenTop < 0; ++y) {
        if (CountPixels(page, y, y + 1, isGreen) > 0) greenTop = y;
    }
    QVERIFY(greenTop > kMarginPixels);
    QVERIFY(CountPixels(page, kMarginPixels, greenTop, IsInk) > 0);  // the first line above it

    // The footer is at the foot of the printed area, below an empty gap.
    const int areaBottom = kPaper.height() - kMarginPixels;
    QVERIFY(CountPixels(page, areaBottom - 30, areaBottom, IsInk) > 0);
    QCOMPARE(CountPixels(page, greenTop + 60, areaBottom - 30, IsInk), 0);
    QCOMPARE(view::CViewPrinter::FooterText(1, 1), QString("Page 1/1"));
}

void ViewPartsTest::printedPagesNumberTheirFooters() {
    FakeBuffer buffer;
    for (int i = 0; i < 200; ++i) buffer.lines.push_back(u"line " + std::u16string(20, u'x'));
    view::CViewPrinter printer(buffer);
    const int pages = printer.ImagePageCount(kPaper, kDpi);
    QVERIFY(pages >= 2);

    printer.SetLineRange(0, 99);
    const int halfPages = printer.ImagePageCount(kPaper, kDpi);
    QVERIFY(halfPages < pages);
    printer.SetLineRange(0, -1);
    QCOMPARE(printer.ImagePageCount(kPaper, kDpi), pages);

    const int areaBottom = kPaper.height() - kMarginPixels;
    const QImage first = printer.RenderPage(1, kPaper, kDpi);
    const QImage second = printer.RenderPage(2, kPaper, kDpi);
    QCOMPARE(BandOf(first, 0, areaBottom - 30), BandOf(second, 0, areaBottom - 30));
    QVERIFY(BandOf(first, areaBottom - 30, areaBottom) !=
            BandOf(second, areaBottom - 30, areaBottom));
    // A page past the end stays blank.
    QCOMPARE(CountPixels(printer.RenderPage(pages + 1, kPaper, kDpi), 0, kPaper.height(), IsInk),
             0);
}

void ViewPartsTest::printingWrapsLongLinesAndExpandsTabs() {
    QCOMPARE(view::CViewPrinter::ColumnCount(u"a\tb", 4), 5);
    QCOMPARE(view::CViewPrinter::ColumnCount(u"\t\t", 4), 8);
    QCOMPARE(view::CViewPrinter::ColumnCount(u"abcd\t", 4), 8);
    QCOMPARE(view::CViewPrinter::ColumnCount(u"a\tb", 1), 3);

    FakeBuffer shortLine;
    shortLine.lines = {u"x"};
    FakeBuffer longLine;
    longLine.lines = {std::u16string(2000, u'w')};
    view::CViewPrinter shortPrinter(shortLine);
    view::CViewPrinter longPrinter(longLine);
    const auto inkRows = [](const QImage& page) {
        int rows = 0;
        for (int y = 0; y < page.height() - 2 * kMarginPixels; ++y) {
            if (CountPixels(page, y, y + 1, IsInk) > 0) ++rows;
        }
        return rows;
    };
    // The long line goes on over several rows instead of being cut at the edge.
    QVERIFY(inkRows(longPrinter.RenderPage(1, kPaper, kDpi)) >
            5 * inkRows(shortPrinter.RenderPage(1, kPaper, kDpi)));

    // A run over a tab colours every column the tab takes.
    FakeBuffer tabbed;
    tabbed.lines = {u"\tA"};
    view::CViewPrinter tabPrinter(tabbed, [](int, std::uint32_t&, std::uint32_t&) {
        return filters::HighlightRunList{{0, 1, 0, 0x00FF0000}};  // blue background
    });
    tabPrinter.SetTabSize(8);
    const QImage page = tabPrinter.RenderPage(1, kPaper, kDpi);
    const auto isBlue = [](const QColor& c) { return c == QColor(0, 0, 255); };
    const int blueEight = CountPixels(page, 0, kPaper.height(), isBlue);
    tabPrinter.SetTabSize(2);
    const int blueTwo =
        CountPixels(tabPrinter.RenderPage(1, kPaper, kDpi), 0, kPaper.height(), isBlue);
    QVERIFY(blueTwo > 0);
    QVERIFY(blueEight > 3 * blueTwo && blueEight < 5 * blueTwo);
}

void ViewPartsTest::printingHighlightsWholeLineWhenAsked() {
    FakeBuffer buffer;
    buffer.lines = {u"xx match xx"};
    view::CViewPrinter printer(buffer, [](int, std::uint32_t&, std::uint32_t&) {
        return filters::HighlightRunList{{3, 5, 0, 0x00FFFFFF}};
    });
    const auto isLightYellow = [](const QColor& c) { return c == QColor(255, 255, 192); };
    QCOMPARE(CountPixels(printer.RenderPage(1, kPaper, kDpi), 0, kPaper.height(), isLightYellow),
             0);
    printer.SetHighlightLine(true, 0x00C0FFFF);
    QVERIFY(CountPixels(printer.RenderPage(1, kPaper, kDpi), 0, kPaper.height(), isLightYellow) >
            0);

    // A line whose colours the source replaced keeps them.
    view::CViewPrinter whole(buffer, [](int, std::uint32_t& text, std::uint32_t& bkg) {
        text = 0x00FFFFFF;
        bkg = 0x00800000;
        return filters::HighlightRunList{{3, 5, 0, 0x00FFFFFF}};
    });
    whole.SetHighlightLine(true, 0x00C0FFFF);
    const QImage page = whole.RenderPage(1, kPaper, kDpi);
    QCOMPARE(CountPixels(page, 0, kPaper.height(), isLightYellow), 0);
    QVERIFY(CountPixels(page, 0, kPaper.height(),
                        [](const QColor& c) { return c == QColor(0, 0, 128); }) > 0);
}

void ViewPartsTest::printingAnEmptyRangeGivesOneBlankPage() {
    FakeBuffer empty;
    view::CViewPrinter printer(empty);
    QCOMPARE(printer.ImagePageCount(kPaper, kDpi), 1);
    const QImage page = printer.RenderPage(1, kPaper, kDpi);
    const int areaBottom = kPaper.height() - kMarginPixels;
    QCOMPARE(CountPixels(page, 0, areaBottom - 30, IsInk), 0);
    QVERIFY(CountPixels(page, areaBottom - 30, areaBottom, IsInk) > 0);

    FakeBuffer some;
    some.lines = {u"a", u"b"};
    view::CViewPrinter backwards(some);
    backwards.SetLineRange(5, 9);
    QCOMPARE(backwards.ImagePageCount(kPaper, kDpi), 1);
    // A tiny paper still gives pages, never a division by nothing.
    QVERIFY(backwards.ImagePageCount(QSize(1, 1), kDpi) >= 1);
    QVERIFY(!view::CViewPrinter(some).RenderPage(1, QSize(0, 0), kDpi).isNull());
}

void ViewPartsTest::printsToAPdfPrinter() {
    FakeBuffer buffer;
    for (int i = 0; i < 300; ++i) buffer.lines.push_back(u"row\tof text");
    view::CViewPrinter viewPrinter(buffer);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString path = dir_.path() + "/printed.pdf";
    printer.setOutputFileName(path);
    QVERIFY(viewPrinter.Print(printer));
    QFile pdf(path);
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    QVERIFY(bytes.startsWith("%PDF"));
    const int pages =
        viewPrinter.PageCount(printer, printer.pageLayout().fullRectPixels(printer.resolution()));
    QVERIFY(pages >= 2);
    QVERIFY(bytes.contains("/Count " + QByteArray::number(pages)));
}

// Print and Print Preview run the same job: the selected lines only, in the
// view's font, with the runs and the whole-line background as on screen.
void ViewPartsTest::viewPrintsItsSelectionInItsFontAndColours() {
    settings::Options options;
    options.HighlightLine = true;
    options.HLLineBkgColor = 0x00C0FFFF;
    options.UFont.lfHeight = -32;
    QStringList lines;
    for (int i = 0; i < 60; ++i)
        lines << (i % 2 ? QStringLiteral("plain") : QStringLiteral("an ERROR"));
    core::CCrystalTextBuffer buffer;
    viewtest::Fill(buffer, lines);
    viewtest::PhraseColorProvider colors(u"ERROR", options);
    auto v = viewtest::MakeView(options, buffer, &colors);
    v->ResetView();
    v->SetSelection({0, 2}, {3, 6});
    const QImage page = v->MakePrintJob().RenderPage(1, kPaper, kDpi);
    const auto isGreen = [](const QColor& c) { return c == QColor(0, 255, 0); };
    const auto isLineBkg = [](const QColor& c) { return c == QColor(255, 255, 192); };
    QVERIFY(CountPixels(page, 0, kPaper.height(), isLineBkg) > 0);
    // Lines 2, 4 and 6 carry a run: three bands of green, each a row of the
    // view's 32-pixel font.
    QList<int> bandHeights;
    for (int y = 0; y < page.height(); ++y) {
        if (CountPixels(page, y, y + 1, isGreen) == 0) continue;
        if (y == 0 || CountPixels(page, y - 1, y, isGreen) == 0) bandHeights << 0;
        ++bandHeights.last();
    }
    QCOMPARE(bandHeights.size(), 3);
    for (const int height : bandHeights)
        QVERIFY2(height >= 32, qPrintable(QString::number(height)));
}

QTEST_MAIN(ViewPartsTest)
#include "ViewPartsTest.moc"
