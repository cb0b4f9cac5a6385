// Macro driver: how long a line takes from its write to the document and on
// to its paint in the view. A writer thread appends 1,000 lines at random
// intervals to a quiet file; the document is shown by a log view in a bare
// window offscreen, followed as the main frame follows it (the refresh timer
// at the default 100 ms, file events when they are on). A line has arrived
// when the buffer tells its views about it, and is painted when a paint of
// the view that covers its row has finished. Run with file events on and off,
// both figures in the same run: median and longest latency in milliseconds.

#include <QApplication>
#include <QElapsedTimer>
#include <QPaintEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "app/TarvikApp.h"
#include "app/ui/FileEventPump.h"
#include "core/ITextBufferView.h"
#include "core/TarvikDoc.h"
#include "latency_figures.h"
#include "platform/CodePage.h"
#include "platform/Registry.h"
#include "uisupport/ViewHarnessWindow.h"
#include "view/TarvikView.h"

namespace {

constexpr int kLines = 1000;
constexpr int kMinPauseMs = 1;
constexpr int kMaxPauseMs = 30;

int LineNumber(std::u16string_view text) {
    if (!text.starts_with(u"line ")) return -1;
    return std::atoi(platform::Utf16ToUtf8(text.substr(5)).c_str());
}

struct Run {
    std::vector<std::atomic<std::int64_t>> written = std::vector<std::atomic<std::int64_t>>(kLines);
    std::vector<std::int64_t> arrived = std::vector<std::int64_t>(kLines, 0);
    std::vector<std::int64_t> painted = std::vector<std::int64_t>(kLines, 0);
    int paintedCount = 0;

    static void Note(std::vector<std::int64_t>& at, int line) {
        if (line >= 0 && line < kLines && at[line] == 0) at[line] = bench::NowNs();
    }
};

// Appends the lines at random pauses, noting when each write began.
void WriteLines(const std::string& path, Run& run) {
    std::ofstream out(path, std::ios::binary | std::ios::app);
    std::mt19937 random(20);
    std::uniform_int_distribution<int> pause(kMinPauseMs, kMaxPauseMs);
    for (int i = 0; i < kLines; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(pause(random)));
        run.written[i] = bench::NowNs();
        out << "line " << i << " of the latency run\n" << std::flush;
    }
}

// Told by the buffer about every insertion, after the view that shows it.
class ArrivalWatch final : public core::ITextBufferView {
public:
    ArrivalWatch(const core::CCrystalTextBuffer& buffer, Run& run) : buffer_(buffer), run_(run) {}
    void UpdateView(core::ITextBufferView*, const void*, std::uint32_t, int) override {
        for (; checked_ + 1 < buffer_.LineCount(); ++checked_) {
            Run::Note(run_.arrived, LineNumber(buffer_.LineText(checked_)));
        }
    }

private:
    const core::CCrystalTextBuffer& buffer_;
    Run& run_;
    int checked_ = 0;
};

// Lets the viewport paint, then notes the lines of the rows it painted.
class PaintWatch final : public QObject {
public:
    PaintWatch(view::CTarvikView& view, const core::CCrystalTextBuffer& buffer, Run& run)
        : view_(view), buffer_(buffer), run_(run) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint || painting_) return false;
        const QRect rect = static_cast<QPaintEvent*>(event)->rect();
        painting_ = true;
        static_cast<QObject*>(watched)->event(event);
        painting_ = false;
        const int height = view_.LineHeight();
        const int first = view_.GetTopLine() + rect.top() / height;
        const int last = view_.GetTopLine() + rect.bottom() / height;
        for (int line = first; line <= last && line < buffer_.LineCount(); ++line) {
            const int number = LineNumber(buffer_.LineText(line));
            if (number < 0 || number >= kLines || run_.painted[number] != 0) continue;
            // Only a whole line counts: its break has arrived.
            if (line + 1 >= buffer_.LineCount()) continue;
            run_.painted[number] = bench::NowNs();
            ++run_.paintedCount;
        }
        return true;
    }

private:
    view::CTarvikView& view_;
    const core::CCrystalTextBuffer& buffer_;
    Run& run_;
    bool painting_ = false;
};

Run Follow(bool events, const QString& folder) {
    Run run;
    const std::string path =
        (folder + (events ? "/paint-events.log" : "/paint-timer.log")).toStdString();
    std::ofstream(path, std::ios::binary | std::ios::trunc) << "start of the quiet log\n";

    app::CTarvikApp app;
    app.GetOptions().WatchFileEvents = events;
    view::CViewHarnessWindow window(app);
    app.SetDocumentHost(&window);
    app.SetUserInterface(&window);
    app_ui::CFileEventPump pump(app, &window);
    window.resize(1000, 700);
    window.show();
    core::CTarvikDoc* doc = app.OpenDocument(platform::Utf8ToUtf16(path));
    if (doc == nullptr) return run;
    app.OnRefreshTick();  // the watches are set up at the tick
    QApplication::processEvents();

    ArrivalWatch arrivals(doc->Buffer(), run);
    doc->Buffer().AttachView(&arrivals);
    PaintWatch paints(*window.View(), doc->Buffer(), run);
    window.View()->viewport()->installEventFilter(&paints);

    std::thread writer(WriteLines, path, std::ref(run));
    QElapsedTimer giveUp;
    giveUp.start();
    while (run.paintedCount < kLines && giveUp.elapsed() < 60000) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    writer.join();
    window.View()->viewport()->removeEventFilter(&paints);
    doc->Buffer().DetachView(&arrivals);
    pump.Stop();
    app.CloseDocument(doc);
    app.SetDocumentHost(nullptr);
    app.SetUserInterface(nullptr);
    return run;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTemporaryDir folder;
    platform::registry_store::UsePath((folder.path() + "/registry.db").toStdString());

    std::printf("paint latency: %d lines at random %d-%d ms pauses, offscreen view\n", kLines,
                kMinPauseMs, kMaxPauseMs);
    const Run withEvents = Follow(true, folder.path());
    const Run timerOnly = Follow(false, folder.path());
    const bench::LatencyFigures eventsArrived =
        bench::SummarizeLatency(withEvents.written, withEvents.arrived);
    const bench::LatencyFigures eventsPainted =
        bench::SummarizeLatency(withEvents.written, withEvents.painted);
    const bench::LatencyFigures timerArrived =
        bench::SummarizeLatency(timerOnly.written, timerOnly.arrived);
    const bench::LatencyFigures timerPainted =
        bench::SummarizeLatency(timerOnly.written, timerOnly.painted);
    bench::PrintLatency("file events on: write to document", 36, eventsArrived);
    bench::PrintLatency("file events on: write to paint", 36, eventsPainted);
    bench::PrintLatency("timer only (100 ms): write to document", 36, timerArrived);
    bench::PrintLatency("timer only (100 ms): write to paint", 36, timerPainted);
    if (eventsArrived.median > 0 && timerPainted.median > 0) {
        std::printf("  paint after arrival (medians): %.2f ms with events, %.2f ms timer only\n",
                    eventsPainted.median - eventsArrived.median,
                    timerPainted.median - timerArrived.median);
        std::printf("  median write to paint, events on / timer only: %.3f\n",
                    eventsPainted.median / timerPainted.median);
    }
    return 0;
}
