// The log view's two figures, offscreen: the time to paint a full 1920x1080
// view of 200-character lines with ten highlight filters, and the UI
// thread's time per 100 ms tick while a document follows 200,000 lines per
// second with those filters, painting included. Printed with their targets
// and with the same work without filters as the baseline of this run.

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "../follow_highlight_filters.h"
#include "app/TarvikApp.h"
#include "core/CrystalTextBuffer.h"
#include "uisupport/ViewHarnessWindow.h"
#include "view/FilterColorProvider.h"
#include "view/TarvikView.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kPaintRounds = 60;
constexpr int kLinesPerTick = 20000;  // 200,000 lines per second, 100 ms ticks
constexpr int kTicks = 30;

std::u16string Lines200(int count) {
    bench::LogGenerator generator;
    std::u16string text;
    for (int i = 0; i < count; ++i) {
        std::string line = generator.NextLine();
        while (line.size() < 200) line += " padding";
        line.resize(200);
        text += bench::LogGenerator::Widen(line);
        text += u"\r\n";
    }
    return text;
}

double PaintMs(const filters::CHighlightFilters& filters) {
    settings::Options options;
    core::CCrystalTextBuffer buffer;
    buffer.ResetEmpty();
    core::TextPos end;
    buffer.InsertTextAt(nullptr, {}, Lines200(2000), end, 0, false);
    view::CFilterColorProvider colors(filters, options);
    view::CTarvikView v(options);
    v.AttachBuffer(&buffer);
    v.SetColorProvider(&colors);
    v.resize(kWidth, kHeight);
    v.show();
    QApplication::processEvents();
    QImage target(v.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < kPaintRounds; ++i) {
        v.ScrollTo(i * 17 % 1900, 0);
        v.viewport()->render(&target);
    }
    return timer.nsecsElapsed() / 1e6 / kPaintRounds;
}

struct TickFigures {
    double meanMs = 0;
    double maxMs = 0;
    int lines = 0;
};

TickFigures FollowTicks(bool withFilters, const QString& folder) {
    app::CTarvikApp app;
    if (withFilters) app.HighlightFilters().Replace(bench::TenHighlightFilters());
    view::CViewHarnessWindow window(app);
    app.SetDocumentHost(&window);
    app.SetUserInterface(&window);
    window.resize(kWidth, kHeight);
    window.show();
    const QString path = folder + (withFilters ? "/filtered.log" : "/plain.log");
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write("start\n");
    file.flush();
    core::CTarvikDoc* doc = app.OpenDocument(path.toStdU16String());
    QApplication::processEvents();
    bench::LogGenerator generator(7);
    std::vector<QByteArray> chunks;
    for (int c = 0; c < 4; ++c) {
        chunks.emplace_back(
            QByteArray::fromStdString(bench::LogGenerator::Join(generator.Lines(kLinesPerTick))));
    }
    TickFigures figures;
    QElapsedTimer timer;
    for (int tick = 0; tick < kTicks; ++tick) {
        file.write(chunks[tick % chunks.size()]);
        file.flush();
        timer.start();
        app.OnRefreshTick();
        window.View()->viewport()->repaint();
        const double ms = timer.nsecsElapsed() / 1e6;
        figures.meanMs += ms / kTicks;
        figures.maxMs = std::max(figures.maxMs, ms);
    }
    figures.lines = doc ? doc->Buffer().LineCount() : 0;
    if (doc) app.CloseDocument(doc);
    app.SetDocumentHost(nullptr);
    app.SetUserInterface(nullptr);
    return figures;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTemporaryDir folder;
    platform::registry_store::UsePath((folder.path() + "/registry.db").toStdString());

    filters::CHighlightFilters none;
    filters::CHighlightFilters ten;
    ten.Replace(bench::TenHighlightFilters());
    const double plainPaint = PaintMs(none);
    const double filteredPaint = PaintMs(ten);
    std::printf(
        "paint 1920x1080, 200-char lines: %.2f ms with ten filters (target < 8 ms), "
        "%.2f ms without, ratio %.2f\n",
        filteredPaint, plainPaint, filteredPaint / plainPaint);

    const TickFigures plain = FollowTicks(false, folder.path());
    const TickFigures filtered = FollowTicks(true, folder.path());
    std::printf(
        "follow 200,000 lines/s, per 100 ms tick incl. painting: mean %.1f ms, max %.1f ms "
        "with ten filters (target < 50 ms); mean %.1f ms without, ratio %.2f; "
        "%d lines kept\n",
        filtered.meanMs, filtered.maxMs, plain.meanMs, filtered.meanMs / plain.meanMs,
        filtered.lines);
    return 0;
}
