// A sender flooding the debug-output channel while a capture document
// follows it at its refresh rate: messages per second captured with none
// lost. Baseline in the same run: the bare channel, a monitor that only
// counts. Also the refresh tick's time for 600,000 characters that arrived
// between two ticks (the document's side only, without painting).

#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "app/TarvikApp.h"
#include "platform/DebugChannelMonitor.h"
#include "platform/DebugChannelSender.h"
#include "platform/TaskQueue.h"

namespace {

constexpr int kMessages = 200000;

void UsePrivateChannel(const char* name) {
    setenv("TARVIK_DEBUG_CHANNEL", (std::string(name) + std::to_string(getpid())).c_str(), 1);
}

// A child process sending kMessages numbered messages; exit 0 when every
// one was taken.
pid_t StartFlood() {
    const pid_t pid = fork();
    if (pid == 0) {
        char text[64];
        for (int i = 0; i < kMessages; ++i) {
            const int n = snprintf(text, sizeof text, "flood message number %d of the run", i);
            if (!platform::SendDebugString(std::string_view(text, n))) _exit(1);
        }
        _exit(0);
    }
    return pid;
}

bool Succeeded(pid_t pid) {
    int status = 0;
    return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void BM_BareChannel(benchmark::State& state) {
    UsePrivateChannel("bench_bare");
    for (auto _ : state) {
        platform::CDebugChannelMonitor monitor;
        if (monitor.Open() != platform::DebugMonitorOpen::Opened) {
            state.SkipWithError("channel busy");
            return;
        }
        std::atomic<int> received{0};
        std::thread reader(
            [&] { monitor.Run([&](std::uint32_t, std::string_view) { ++received; }); });
        const pid_t flood = StartFlood();
        const bool ok = Succeeded(flood);
        while (received < kMessages) std::this_thread::yield();
        monitor.Stop();
        reader.join();
        monitor.Close();
        if (!ok) state.SkipWithError("a message was not taken");
    }
    state.counters["messages/s"] =
        benchmark::Counter(double(kMessages) * state.iterations(), benchmark::Counter::kIsRate);
}

void BM_CaptureDocument(benchmark::State& state) {
    UsePrivateChannel("bench_doc");
    for (auto _ : state) {
        platform::TaskQueue queue;
        app::CTarvikApp app(platform::SystemClock::Instance(), &queue);
        app.GetOptions().LimitBufSize = false;
        core::CTarvikDoc* doc = app.StartCapture();
        while (!platform::SendDebugString(""))
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        const pid_t flood = StartFlood();
        std::atomic<bool> done{false};
        bool ok = false;
        std::thread waiter([&] {
            ok = Succeeded(flood);
            done = true;
        });
        // The refresh timer's pace while the flood runs.
        const auto interval = std::chrono::milliseconds(app.GetOptions().IntervalChkFile);
        while (!done) {
            std::this_thread::sleep_for(interval);
            app.OnRefreshTick();
        }
        waiter.join();
        // The last message is in once a further one got through.
        platform::SendDebugString("end");
        while (doc->Buffer().LineCount() < kMessages + 2) app.OnRefreshTick();
        if (!ok || doc->Buffer().LineCount() != kMessages + 2) state.SkipWithError("lost messages");
    }
    state.counters["messages/s"] =
        benchmark::Counter(double(kMessages) * state.iterations(), benchmark::Counter::kIsRate);
}

void BM_TickWith600000Characters(benchmark::State& state) {
    UsePrivateChannel("bench_tick");
    platform::TaskQueue queue;
    app::CTarvikApp app(platform::SystemClock::Instance(), &queue);
    core::CTarvikDoc* doc = app.StartCapture();
    capture::CCaptureSession& session = *doc->CaptureSession();
    std::string text(100, 'x');
    for (auto _ : state) {
        state.PauseTiming();
        // 6,000 messages of 100 characters, as a sender would have left them.
        for (int i = 0; i < 6000; ++i) session.Deliver(1234, text);
        state.ResumeTiming();
        app.OnRefreshTick();
    }
    state.counters["lines"] = doc->Buffer().LineCount();
}

BENCHMARK(BM_BareChannel)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_CaptureDocument)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_TickWith600000Characters)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
