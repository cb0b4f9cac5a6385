// The program on a scaled screen (200 % unless the run asks for another
// scaling): the toolbar, tab, tray and margin images drawn for the device
// pixel ratio instead of stretched, and the stored pixel font grown with the
// logical DPI; a screenshot for people to look at.

#include <QApplication>
#include <QImage>
#include <QScreen>
#include <QToolBar>
#include <QtTest>
#include <cmath>
#include <cstdlib>

#include "TestFolder.h"
#include "app/TarvikApp.h"
#include "app/ui/ChildFrame.h"
#include "app/ui/FrameIcons.h"
#include "app/ui/MainFrame.h"
#include "app/ui/TabStrip.h"
#include "app/ui/TrayIcon.h"
#include "core/LineFlagBits.h"
#include "core/TarvikDoc.h"
#include "view/FontMapping.h"
#include "view/MarkImages.h"
#include "view/TarvikView.h"

namespace {

bool Near(const QColor& a, const QColor& b, int tolerance) {
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

// The smallest rectangle holding every pixel near color.
QRect BoundsOf(const QImage& image, const QColor& color) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (Near(image.pixelColor(x, y), color, 8)) bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

// Every pixel from (x0, y) to (x1, y) is one of the given colours: a
// stretched small image leaves blends of neighbours along its edges.
bool OnlyColors(const QImage& image, int y, int x0, int x1, const QList<QColor>& colors) {
    for (int x = x0; x <= x1; ++x) {
        const QColor pixel = image.pixelColor(x, y);
        const bool known = std::any_of(colors.begin(), colors.end(),
                                       [&](const QColor& c) { return Near(pixel, c, 10); });
        if (!known) {
            qWarning("blend %s at (%d, %d)", qPrintable(pixel.name()), x, y);
            return false;
        }
    }
    return true;
}

// Some ratio x ratio block of the image is not one colour: it was drawn at
// device resolution, not enlarged from one pixel per unit.
bool HasDetailFinerThanAUnit(const QImage& image, const QRect& area, int ratio) {
    for (int y = area.top(); y + ratio <= area.bottom() + 1; y += ratio) {
        for (int x = area.left(); x + ratio <= area.right() + 1; x += ratio) {
            const QRgb first = image.pixel(x, y);
            for (int dy = 0; dy < ratio; ++dy) {
                for (int dx = 0; dx < ratio; ++dx) {
                    if (image.pixel(x + dx, y + dy) != first) return true;
                }
            }
        }
    }
    return false;
}

int DevicePixels(int logical, qreal ratio) {
    return static_cast<int>(std::lround(logical * ratio));
}

}  // namespace

class HiDpiTest : public QObject {
    Q_OBJECT

private:
    ui_test::TestFolder dir_;

    static QString Tag() {
        const QScreen* screen = QGuiApplication::primaryScreen();
        return QStringLiteral("%1x-%2dpi")
            .arg(screen->devicePixelRatio())
            .arg(qRound(screen->logicalDotsPerInch()));
    }

private slots:
    void init() {
        dir_.UseNextStore();
        app_ui::CTrayIcon::SetAvailabilityProbe([] { return true; });
    }

    void iconsAreDrawnForThePixelRatio() {
        const qreal ratio = qApp->devicePixelRatio();
        const QSize tray(22, 22);
        for (const QIcon& icon : {app_ui::TrayNormalIcon(), app_ui::TrayAlternateIcon(),
                                  app_ui::ApplicationIcon(), app_ui::MonitoringIcon()}) {
            QCOMPARE(icon.pixmap(tray, ratio).width(), DevicePixels(tray.width(), ratio));
        }
        app::CTarvikApp app;
        app_ui::CMainFrame frame(app);
        frame.show();
        const QSize size = frame.ToolBar()->iconSize();
        for (QAction* action : frame.ToolBar()->actions()) {
            const QPixmap pixmap = action->icon().pixmap(size, ratio);
            QVERIFY2(pixmap.width() == DevicePixels(size.width(), ratio),
                     qPrintable(action->text()));
        }
    }

    void screenshotOfTheFrame() {
        const QString log = dir_.WriteFile(
            "scaled.log", "2026-12-08 15:00:00 one\r\n2026-12-08 15:00:01 two\r\nthree\r\n");
        const QString other = dir_.WriteFile("other.log", "x\r\n");
        app::CTarvikApp app;
        app_ui::CMainFrame frame(app);
        frame.resize(800, 500);
        frame.show();
        frame.OpenFiles(ui_test::Paths({other, log}));
        app_ui::CTabStrip& tabs = *frame.TabStrip();
        tabs.SetMark(tabs.KeyAt(0), app_ui::TabImage::Red);
        core::CTarvikDoc& doc = *app.Documents().back();
        doc.Buffer().SetLineFlag(1, core::kBookmarkFlag, true, false);
        view::CTarvikView& view = *frame.FrameOf(doc)->View();
        QApplication::processEvents();
        const QImage shot = frame.grab().toImage();
        QVERIFY(shot.save(QStringLiteral(TARVIK_ARTIFACTS_DIR "/frame-%1.png").arg(Tag())));
        if (qApp->devicePixelRatio() != std::floor(qApp->devicePixelRatio())) {
            QSKIP("edges fall on whole device pixels at whole ratios only");
        }
        const int ratio = qRound(qApp->devicePixelRatio());
        QCOMPARE(shot.width(), DevicePixels(frame.width(), ratio));

        // The red tab mark: along its middle row only the tab's background,
        // the mark's rim and its fill (at one pixel per unit the curve of
        // the rim blends a little by itself, and nothing is stretched).
        const QImage strip = tabs.grab().toImage();
        const QColor red = app_ui::TabMarkColor(app_ui::TabImage::Red);
        const QRect mark = BoundsOf(strip, red);
        QVERIFY(mark.isValid());
        QVERIFY(mark.width() >= DevicePixels(app_ui::kTabImageWidth - 4, ratio));
        const int middle = mark.center().y();
        const QColor tabBkg = strip.pixelColor(mark.left() - 3 * ratio, middle);
        if (ratio > 1) {
            QVERIFY(OnlyColors(strip, middle, mark.left() - 3 * ratio, mark.right() + 2 * ratio,
                               {tabBkg, red, red.darker(160)}));
        }

        // The bookmark in the margin: sharp, and drawn finer than its units.
        const QImage margin = view.viewport()->grab().toImage();
        const QRect row(0, DevicePixels(view.LineHeight(), ratio),
                        DevicePixels(view::kMarginWidth, ratio),
                        DevicePixels(view.LineHeight(), ratio));
        const QColor marginColor = margin.pixelColor(row.left(), row.top());
        const QRect ribbon = BoundsOf(margin.copy(row), QColor(0, 128, 255));
        QVERIFY(ribbon.isValid());
        for (int y = row.top(); y <= row.bottom(); ++y) {
            QVERIFY(OnlyColors(margin, y, row.left(), row.right(),
                               {marginColor, QColor(0, 128, 255), QColor(0, 64, 160)}));
        }
        if (ratio > 1) QVERIFY(HasDetailFinerThanAUnit(margin, row.adjusted(4, 0, 0, 0), ratio));
    }

    // 12 pixels in the store are 12 pixels of a 96 DPI screen: Qt scales
    // them by the pixel ratio already, and the view by any logical DPI
    // beyond 96, so they grow as the desktop's other text does.
    void storedPixelFontFollowsTheLogicalDpi() {
        settings::Options options;
        view::CTarvikView view(options);
        view.show();
        const int expected = DevicePixels(-options.UFont.lfHeight, view.logicalDpiY() / 96.0);
        QCOMPARE(view.TextFont().pixelSize(), expected);
        QVERIFY(view.LineHeight() >= expected);
        QCOMPARE(view::FontFromLogFont(options.UFont).pixelSize(), -options.UFont.lfHeight);
    }
};

int main(int argc, char** argv) {
    // 200 % unless the run sets its own scaling: a second run checks a
    // screen whose logical DPI grows instead of its pixel ratio.
    if (!qEnvironmentVariableIsSet("QT_SCALE_FACTOR") &&
        !qEnvironmentVariableIsSet("QT_FONT_DPI")) {
        qputenv("QT_SCALE_FACTOR", "2");
    }
    QApplication app(argc, argv);
    HiDpiTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "HiDpiTest.moc"
