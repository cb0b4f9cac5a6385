// Pixels of a painted log view: the red line, selection colours, the line
// background of highlighted lines, the blank after the text, margin marks;
// and a screenshot for people to look at.

#include <QApplication>
#include <QFontInfo>
#include <QImage>
#include <QTest>
#include <cstdlib>
#include <memory>

#include "ViewTestFakes.h"
#include "core/LineFlagBits.h"
#include "filters/HighlightFilters.h"
#include "view/ColorRef.h"
#include "view/FilterColorProvider.h"
#include "view/FontMapping.h"

using viewtest::MakeView;

namespace {

QImage Render(view::CTarvikView& v) {
    QApplication::processEvents();
    return v.viewport()->grab().toImage();
}

QColor CellColor(const QImage& image, const view::CTarvikView& v, int row, int column) {
    const int x = view::kMarginWidth + column * v.CharWidth() + 1;
    const int y = row * v.LineHeight() + 1;
    return image.pixelColor(x, y);
}

// The colour of the text in a cell: of its pixels, the one farthest from the
// cell's background.
QColor InkColor(const QImage& image, const view::CTarvikView& v, int row, int column,
                const QColor& bkg) {
    QColor ink = bkg;
    int farthest = -1;
    const int left = view::kMarginWidth + column * v.CharWidth();
    for (int y = row * v.LineHeight(); y < (row + 1) * v.LineHeight(); ++y) {
        for (int x = left; x < left + v.CharWidth(); ++x) {
            const QColor c = image.pixelColor(x, y);
            const int distance = std::abs(c.red() - bkg.red()) + std::abs(c.green() - bkg.green()) +
                                 std::abs(c.blue() - bkg.blue());
            if (distance > farthest) {
                farthest = distance;
                ink = c;
            }
        }
    }
    return ink;
}

bool Near(const QColor& a, const QColor& b) {
    constexpr int kTolerance = 64;
    return std::abs(a.red() - b.red()) < kTolerance &&
           std::abs(a.green() - b.green()) < kTolerance &&
           std::abs(a.blue() - b.blue()) < kTolerance;
}

QPalette DarkPalette() {
    QPalette palette;
    palette.setColor(QPalette::Base, QColor(0x23, 0x26, 0x29));
    palette.setColor(QPalette::Text, QColor(0xFC, 0xFC, 0xFC));
    palette.setColor(QPalette::Window, QColor(0x2A, 0x2E, 0x32));
    palette.setColor(QPalette::WindowText, QColor(0xFC, 0xFC, 0xFC));
    palette.setColor(QPalette::Button, QColor(0x31, 0x36, 0x3B));
    return palette;
}

// Where nothing but background is painted: the top pixel row of a cell
// holding dots, which sit on the baseline.
constexpr auto kDots = u"..";

// An enabled plain filter in the given colours.
void AddFilter(filters::CHighlightFilters& filters, std::u16string_view phrase, std::uint32_t text,
               std::uint32_t bkg, bool entireLine) {
    filters::HighlightFilter filter;
    filter.phrase.Assign(phrase, false, false);
    filter.TextColor = text;
    filter.BkgColor = bkg;
    filter.HighlightEntireLine = entireLine;
    filter.Enable = true;
    filters.Append(filter);
}

}  // namespace

class ViewPaintTest : public QObject {
    Q_OBJECT

private slots:
    void redLineRunsAlongTheTopOfItsRowOnly() {
        settings::Options options;
        core::CCrystalTextBuffer buffer;
        viewtest::Fill(buffer, {"one", "two", "three", "four"});
        buffer.SetLineFlag(2, core::kRedLineFlag, true, false);
        auto v = MakeView(options, buffer, nullptr);
        const QImage image = Render(*v);
        const int top = 2 * v->LineHeight();
        QCOMPARE(image.pixelColor(view::kMarginWidth + 1, top), QColor(255, 0, 0));
        QCOMPARE(image.pixelColor(image.width() - 2, top), QColor(255, 0, 0));
        QVERIFY(image.pixelColor(view::kMarginWidth - 5, top) != QColor(255, 0, 0));
        QVERIFY(image.pixelColor(view::kMarginWidth + 1, top + 1) != QColor(255, 0, 0));
        QVERIFY(image.pixelColor(view::kMarginWidth + 1, v->LineHeight()) != QColor(255, 0, 0));
    }

    void selectionIsDrawnInvertedOrWhiteOnBlack() {
        settings::Options options;
        core::CCrystalTextBuffer buffer;
        viewtest::Fill(buffer, {"x  ..  y", "next"});
        viewtest::PhraseColorProvider colors(kDots, options);
        auto v = MakeView(options, buffer, &colors);
        v->SetSelection({1, 0}, {6, 0});
        QImage image = Render(*v);
        // A highlighted line: light yellow behind the text, so its complement.
        QCOMPARE(CellColor(image, *v, 0, 1), view::ToQColor(view::Complement(0xC0FFFF)));
        QCOMPARE(CellColor(image, *v, 0, 3),
                 view::ToQColor(view::Complement(viewtest::kPhraseBkg)));
        QCOMPARE(CellColor(image, *v, 0, 6), view::ToQColor(0xC0FFFF));

        options.InvertColorSelText = false;
        v->ResetView();
        v->SetSelection({1, 0}, {6, 0});
        image = Render(*v);
        QCOMPARE(CellColor(image, *v, 0, 1), QColor(Qt::black));
        QCOMPARE(CellColor(image, *v, 0, 3), QColor(Qt::black));
        QCOMPARE(CellColor(image, *v, 0, 6), view::ToQColor(0xC0FFFF));
    }

    void selectedLineEndIsABlackCell() {
        settings::Options options;
        core::CCrystalTextBuffer buffer;
        viewtest::Fill(buffer, {"ab", "", "cd"});
        auto v = MakeView(options, buffer, nullptr);
        v->SetSelection({1, 0}, {1, 2});
        const QImage image = Render(*v);
        QCOMPARE(CellColor(image, *v, 0, 2), QColor(Qt::black));
        QCOMPARE(CellColor(image, *v, 0, 3), QColor(Qt::white));
        // The empty line's end is selected too: a black cell at its start.
        QCOMPARE(CellColor(image, *v, 1, 0), QColor(Qt::black));
        QCOMPARE(CellColor(image, *v, 1, 1), QColor(Qt::white));
        QCOMPARE(CellColor(image, *v, 2, 2), QColor(Qt::white));
    }

    void highlightedLineBackgroundAndBlankFill() {
        settings::Options options;
        core::CCrystalTextBuffer buffer;
        viewtest::Fill(buffer, {"a ..  b", "plain  c"});
        viewtest::PhraseColorProvider colors(kDots, options);
        auto v = MakeView(options, buffer, &colors);
        const QColor yellow = view::ToQColor(0xC0FFFF);
        QImage image = Render(*v);
        QCOMPARE(CellColor(image, *v, 0, 1), yellow);
        QCOMPARE(CellColor(image, *v, 0, 2), view::ToQColor(viewtest::kPhraseBkg));
        QCOMPARE(CellColor(image, *v, 0, 10), QColor(Qt::white));
        QCOMPARE(CellColor(image, *v, 1, 5), QColor(Qt::white));

        options.FillLineBlankInBkgColor = true;
        image = Render(*v);
        QCOMPARE(CellColor(image, *v, 0, 10), yellow);
        QCOMPARE(CellColor(image, *v, 0, 50), yellow);
        QCOMPARE(CellColor(image, *v, 1, 10), QColor(Qt::white));

        options.HighlightLine = false;
        image = Render(*v);
        QCOMPARE(CellColor(image, *v, 0, 1), QColor(Qt::white));
        QCOMPARE(CellColor(image, *v, 0, 10), QColor(Qt::white));
        QCOMPARE(CellColor(image, *v, 0, 2), view::ToQColor(viewtest::kPhraseBkg));
    }

    void tabsExpandToTheNextStop() {
        settings::Options options;
        options.TabSize = 4;
        core::CCrystalTextBuffer buffer;
        viewtest::Fill(buffer, {"a\t..", "ab"});
        viewtest::PhraseColorProvider colors(kDots, options);
        auto v = MakeView(options, buffer, &colors);
        const QImage image = Render(*v);
        QCOMPARE(CellColor(image, *v, 0, 3), view::ToQColor(0xC0FFFF));
        QCOMPARE(CellColor(image, *v, 0, 4), view::ToQColor(viewtest::kPhraseBkg));
        QCOMPARE(CellColor(image, *v, 0, 5), view::ToQColor(viewtest::kPhraseBkg));
        QCOMPARE(CellColor(image, *v, 0, 6), QColor(Qt::white));
    }

    void horizontalScrollClipsTextLeftOfTheFirstColumn() {
        settings::Options options;
        core::CCrystalTextBuffer buffer;
        viewtest::Fill(buffer, {QString(300, u'x') + ".."});
        viewtest::PhraseColorProvider colors(kDots, options);
        auto v = MakeView(options, buffer, &colors);
        v->ScrollTo(0, 298);
        QCOMPARE(v->GetFirstVisibleColumn(), 298);
        const QImage image = Render(*v);
        QCOMPARE(CellColor(image, *v, 0, 2), view::ToQColor(viewtest::kPhraseBkg));
        QCOMPARE(image.pixelColor(5, 1), QColor(0xC0, 0xC0, 0xC0));
    }

    void textOutsideTheFontKeepsItsCells() {
        settings::Options options;
        core::CCrystalTextBuffer buffer;
        viewtest::Fill(buffer, {QString::fromUtf16(u"\u00e9\U0001D11E\u4e2d..")});
        viewtest::PhraseColorProvider colors(kDots, options);
        auto v = MakeView(options, buffer, &colors);
        const QImage image = Render(*v);
        // One column per UTF-16 code unit: the phrase starts at column 4.
        QCOMPARE(CellColor(image, *v, 0, 4), view::ToQColor(viewtest::kPhraseBkg));
        QCOMPARE(CellColor(image, *v, 0, 6), QColor(Qt::white));
    }

    void storedFontMapsToAFixedPixelFont() {
        settings::LogFont logFont;
        logFont.lfHeight = -15;
        logFont.SetFaceName(u"No Such Face Anywhere");
        const QFont font = view::FontFromLogFont(logFont);
        QCOMPARE(font.pixelSize(), 15);
        QVERIFY(QFontInfo(font).fixedPitch());
        for (const std::int32_t damaged : {999999, INT32_MIN, 0}) {
            logFont.lfHeight = damaged;
            QCOMPARE(view::FontFromLogFont(logFont).pixelSize(), 12);
        }
    }

    void marginShowsBookmarkImages() {
        settings::Options options;
        core::CCrystalTextBuffer buffer;
        viewtest::Fill(buffer, {"one", "two", "three"});
        buffer.SetLineFlag(1, core::kBookmarkFlag, true, false);
        auto v = MakeView(options, buffer, nullptr);
        const QImage image = Render(*v);
        const auto markedPixels = [&](int row) {
            int count = 0;
            for (int y = row * v->LineHeight(); y < (row + 1) * v->LineHeight(); ++y) {
                for (int x = 0; x < view::kMarginWidth; ++x) {
                    if (image.pixelColor(x, y) != QColor(0xC0, 0xC0, 0xC0)) ++count;
                }
            }
            return count;
        };
        QCOMPARE(markedPixels(0), 0);
        QVERIFY(markedPixels(1) > 10);
    }

    // Filters that only chose a background keep black text: on a dark
    // palette that text (and the palette's light text on a light highlight)
    // turns black or white by contrast; a chosen colour stays; the selected
    // line end and the red line still show. A light palette draws as before.
    void darkPaletteKeepsHighlightsReadable() {
        const QPalette appPalette = QApplication::palette();
        QApplication::setPalette(DarkPalette());
        settings::Options options;
        filters::CHighlightFilters filters;
        const auto add = [&](std::u16string_view phrase, std::uint32_t text, std::uint32_t bkg,
                             bool entireLine) {
            AddFilter(filters, phrase, text, bkg, entireLine);
        };
        const std::uint32_t darkBlue = 0x800000;
        add(u"AAAA", 0x000000, darkBlue, false);
        add(u"BBBB", 0x000000, 0x00FFFF, false);
        add(u"CCCC", 0x0000FF, darkBlue, false);
        add(u"DDDD", 0x000000, 0x404040, true);
        view::CFilterColorProvider colors(filters, options);
        core::CCrystalTextBuffer buffer;
        viewtest::Fill(buffer, {"#### AAAA ####", "#### BBBB ####", "#### CCCC ####", "#### DDDD",
                                "#### plain", "", "end"});
        buffer.SetLineFlag(6, core::kRedLineFlag, true, false);
        auto v = std::make_unique<view::CTarvikView>(options);
        v->AttachBuffer(&buffer);
        v->SetColorProvider(&colors);
        v->resize(660, 420);
        v->show();
        v->SetSelection({6, 4}, {1, 6});
        QImage image = Render(*v);
        QVERIFY(image.save(TARVIK_ARTIFACTS_DIR "/view-dark.png"));
        const QColor base = DarkPalette().color(QPalette::Base);
        const QColor lineBkg = view::ToQColor(options.HLLineBkgColor);
        const QColor blue = view::ToQColor(darkBlue);
        QVERIFY(Near(InkColor(image, *v, 0, 6, blue), Qt::white));
        QVERIFY(Near(InkColor(image, *v, 0, 1, lineBkg), Qt::black));
        QVERIFY(Near(InkColor(image, *v, 1, 6, view::ToQColor(0x00FFFF)), Qt::black));
        QVERIFY(Near(InkColor(image, *v, 2, 6, blue), Qt::red));
        QVERIFY(Near(InkColor(image, *v, 3, 1, QColor(0x40, 0x40, 0x40)), Qt::white));
        QVERIFY(Near(InkColor(image, *v, 4, 1, base), DarkPalette().color(QPalette::Text)));
        // The selected ends of "#### plain" and of the empty line.
        QCOMPARE(CellColor(image, *v, 4, 10), QColor(Qt::white));
        QCOMPARE(CellColor(image, *v, 5, 0), QColor(Qt::white));
        QCOMPARE(CellColor(image, *v, 5, 1), base);
        QCOMPARE(image.pixelColor(view::kMarginWidth + 100, 6 * v->LineHeight()), QColor(Qt::red));

        v->setPalette(viewtest::FixedPalette());
        v->SetSelection({6, 4}, {1, 6});
        image = Render(*v);
        QVERIFY(Near(InkColor(image, *v, 0, 6, blue), Qt::black));
        QVERIFY(Near(InkColor(image, *v, 3, 1, QColor(0x40, 0x40, 0x40)), Qt::black));
        QCOMPARE(CellColor(image, *v, 4, 10), QColor(Qt::black));
        QApplication::setPalette(appPalette);
    }

    void screenshotWithHighlightsRedLineAndBookmarks() {
        settings::Options options;
        filters::CHighlightFilters filters;
        const auto add = [&](std::u16string_view phrase, std::uint32_t text, std::uint32_t bkg,
                             bool entireLine) {
            AddFilter(filters, phrase, text, bkg, entireLine);
        };
        add(u"ERROR", 0xFFFFFF, 0x0000C0, false);
        add(u"warn", 0x000000, 0x00A0FF, false);
        add(u"user=alice", 0x800000, 0xFFE0C0, false);
        add(u"disk full", 0xFFFFFF, 0x404040, true);
        view::CFilterColorProvider colors(filters, options);
        core::CCrystalTextBuffer buffer;
        QStringList lines;
        for (int i = 0; i < 30; ++i) {
            QString line = QStringLiteral("2026-12-08 15:%1:00 [worker-%2] ")
                               .arg(i, 2, 10, QLatin1Char('0'))
                               .arg(i % 4);
            if (i % 7 == 3)
                line += "ERROR request failed for user=alice status=500";
            else if (i % 5 == 1)
                line += "warn slow response\ttook 1200 ms";
            else if (i == 20)
                line += "disk full on /var/log";
            else
                line += "request served in 12 ms";
            lines << line;
        }
        viewtest::Fill(buffer, lines);
        buffer.SetLineFlag(18, core::kRedLineFlag, true, false);
        buffer.SetLineFlag(4, core::kBookmarkFlag, true, false);
        buffer.SetLineFlag(9, core::NumberedBookmarkFlag(1), true, true);
        buffer.SetLineFlag(12, core::NumberedBookmarkFlag(7), true, true);
        auto v = MakeView(options, buffer, &colors);
        v->resize(900, 500);
        v->SetSelection({5, 14}, {30, 14});
        const QImage image = Render(*v);
        QVERIFY(image.save(TARVIK_ARTIFACTS_DIR "/view.png"));
        // What people should see in it: the ERROR run's own background, the
        // whole "disk full" line in its colour, the red line above line 18.
        const int errorColumn = QStringLiteral("2026-12-08 15:03:00 [worker-3] ").size();
        QCOMPARE(CellColor(image, *v, 3, errorColumn), QColor(0xC0, 0, 0));
        QCOMPARE(CellColor(image, *v, 3, errorColumn - 2), view::ToQColor(options.HLLineBkgColor));
        QCOMPARE(CellColor(image, *v, 20, 0), QColor(0x40, 0x40, 0x40));
        QCOMPARE(image.pixelColor(view::kMarginWidth + 200, 18 * v->LineHeight()),
                 QColor(255, 0, 0));
        QVERIFY(image.pixelColor(view::kMarginWidth + 200, 17 * v->LineHeight()) !=
                QColor(255, 0, 0));
    }
};

QTEST_MAIN(ViewPaintTest)
#include "ViewPaintTest.moc"
