// tarvik-tail: the headless follower. It opens each file as a log document
// with the settings of the store (buffer limit, encodings, include/exclude
// filters, highlight filters), prints what the documents show as UTF-8 and
// then follows them, printing each line once it is complete. On a terminal
// (or when asked) lines are painted in their highlight colours. With
// --capture it also follows the debug-output channel through a capture
// document. With --actions it acts as the desktop program does: new lines
// run the actions of highlight filters, a file that stays quiet gets its
// stop-updating e-mail and post, and the outcome of every e-mail and post is
// told on standard error.

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "AnsiColorizer.h"
#include "DocumentPrinter.h"
#include "HeadlessUserInterface.h"
#include "MailReport.h"
#include "PollClock.h"
#include "TailArguments.h"
#include "TailOutput.h"
#include "app/TarvikApp.h"
#include "capture/CaptureTitle.h"
#include "platform/CodePage.h"
#include "platform/TaskQueue.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFileFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitCaptureFailed = 3;

struct FollowedFile {
    core::CTarvikDoc* doc;
    std::unique_ptr<tail::CDocumentPrinter> printer;
};

bool WantsColor(tail::ColorMode mode, tail::TextForm form) {
    switch (mode) {
        case tail::ColorMode::Always:
            return true;
        case tail::ColorMode::Never:
            return false;
        case tail::ColorMode::Auto:
            break;
    }
    return form == tail::TextForm::VisibleControls;
}

// E-mails on their way when following ends get a while to finish, so the
// last notification is not cut off; those still going after it end as time-outs.
void FinishMail(app::CTarvikApp& app, platform::TaskQueue& queue) {
    constexpr int kFinishWaits = 300;  // of 100 ms
    mail::CMailSender& sender = app.Mail().Sender();
    mail::CWebHookPoster& poster = app.Mail().Poster();
    const auto pending = [&] {
        return sender.RunningJobs() + sender.WaitingJobs() + poster.RunningPosts() +
               poster.WaitingPosts();
    };
    for (int i = 0; i < kFinishWaits && pending() > 0; ++i) {
        queue.WaitAndDrain(100);
    }
    queue.Drain();
}

void EnableActions(app::CTarvikApp& app) {
    // A tool without a user interface has no printer.
    app.EnableHighlightActions(nullptr);
    if (app.HighlightFilters().AnyPrint()) {
        std::fputs(
            "tarvik-tail: print jobs of highlight filters are dropped: there is no printer "
            "here\n",
            stderr);
    }
    if (app.HighlightFilters().AnyDesktopNotice()) {
        std::fputs(
            "tarvik-tail: desktop notifications of highlight filters are left out: there is "
            "no desktop here\n",
            stderr);
    }
}

int Run(const tail::TailArguments& args) {
    tail::CPollClock::CatchStopSignals();
    // On a terminal, controls of lines and names are shown, not obeyed.
    const tail::TextForm outputForm = tail::TextFormFor(STDOUT_FILENO);
    tail::CHeadlessUserInterface ui(tail::TextFormFor(STDERR_FILENO));
    // Outcomes of e-mail jobs complete their records on this thread, between
    // polls, and a failure of the capture thread arrives here. Declared first,
    // so it outlives the application that posts to it.
    platform::TaskQueue queue;
    app::CTarvikApp app(platform::SystemClock::Instance(), &queue);
    bool maximized = true;
    settings::WindowRect rect{};
    app.LoadOptions(maximized, rect);
    app.SetUserInterface(&ui);
    app.SetStopUpdatingWatch(args.actions);
    if (args.actions) {
        app.Mail().Notifier().SetStopMailOutcome(tail::TellStopMailOutcome);
        app.Mail().WebHooks().SetStopPostOutcome(tail::TellStopPostOutcome);
    }
    // Nobody sees the records here: the outcome of each e-mail is told instead.
    tail::CMailReport mailReport(app.Mail().Records(), stderr);
    if (args.actions) EnableActions(app);
    const filters::HighlightOptions highlightOptions = app.HighlightOptions();
    std::optional<tail::CAnsiColorizer> colorizer;
    if (WantsColor(args.color, outputForm))
        colorizer.emplace(app.HighlightFilters(), highlightOptions);

    tail::CTailOutput output(args.files.size() > 1, outputForm);
    std::vector<FollowedFile> followed;
    bool anyFailed = false;
    for (const std::string& path : args.files) {
        core::CTarvikDoc* doc = app.OpenDocument(platform::Utf8ToUtf16(path));
        if (!doc) {
            anyFailed = true;
            continue;
        }
        // Following is what this program is for, whatever AutoMonitor says.
        doc->SetMonitoring(!args.once);
        auto printer = std::make_unique<tail::CDocumentPrinter>(*doc, path, output,
                                                                colorizer ? &*colorizer : nullptr);
        output.Begin(path);
        printer->PrintAll(!args.once);
        output.Flush();
        followed.push_back({doc, std::move(printer)});
    }

    bool captureFailed = false;
    if (args.capture) {
        core::CTarvikDoc* doc = app.StartCapture();
        if (doc) {
            const std::string name = platform::Utf16ToUtf8(capture::kCaptureDocumentName);
            auto printer = std::make_unique<tail::CDocumentPrinter>(
                *doc, name, output, colorizer ? &*colorizer : nullptr);
            printer->PrintAll(true);
            followed.push_back({doc, std::move(printer)});
        } else {
            captureFailed = true;
        }
    }

    if (!args.once && !followed.empty()) {
        const std::uint32_t interval =
            args.intervalMs.value_or(std::max<std::uint32_t>(1, app.GetOptions().IntervalChkFile));
        tail::CPollClock clock(interval, args.durationSeconds);
        std::unordered_map<const core::CTarvikDoc*, tail::CDocumentPrinter*> printerOf;
        for (FollowedFile& file : followed) printerOf[file.doc] = file.printer.get();
        // File events first; the interval is the longest wait. Without
        // actions and capture nothing but the documents posts to this loop:
        // ticks with nothing to do pass without waking it.
        const bool onlyDocuments = !args.actions && !args.capture;
        for (;;) {
            if (onlyDocuments) clock.SkipIdleTicks(app.TickWorkIn());
            const auto wake =
                clock.WaitForWake(app.FileEventDescriptor(), app.NextEventPollDelay());
            if (wake == tail::CPollClock::Wake::Over) break;
            // A failed capture closes its document here (after its message).
            queue.Drain();
            if (args.capture && !app.CaptureDocument()) {
                captureFailed = true;
                break;
            }
            if (wake == tail::CPollClock::Wake::Tick) {
                app.OnRefreshTick();
            } else if (wake == tail::CPollClock::Wake::Events) {
                app.OnFileEvents();
            } else {
                app.RunDueEventPolls();
            }
            // A wake concerns only the documents it polled.
            for (const core::CTarvikDoc* doc : app.LastPolled()) {
                const auto it = printerOf.find(doc);
                if (it != printerOf.end()) it->second->PrintCompleted();
            }
            output.Flush();
            mailReport.ReportNew();
        }
        // What arrived since the last tick (a message the capture took, lines
        // written to a file) is still read and shown before following ends.
        queue.Drain();
        if (!captureFailed && (!args.capture || app.CaptureDocument())) {
            app.OnRefreshTick();
            for (FollowedFile& file : followed) file.printer->PrintCompleted();
            output.Flush();
        }
    }
    for (FollowedFile& file : followed) file.printer->Finish();
    output.Flush();
    FinishMail(app, queue);
    followed.clear();
    mailReport.ReportNew();
    if (captureFailed) return kExitCaptureFailed;
    return anyFailed ? kExitFileFailed : kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
    std::string error;
    const std::vector<std::string> argList(argv + 1, argv + argc);
    const auto args = tail::ParseTailArguments(argList, error);
    if (!args) {
        std::fprintf(stderr, "tarvik-tail: %s\n%s", error.c_str(), tail::kTailUsage);
        return kExitUsage;
    }
    if (args->help) {
        std::fputs(tail::kTailUsage, stdout);
        return kExitOk;
    }
    for (const std::string& note : args->notes)
        std::fprintf(stderr, "tarvik-tail: %s\n", note.c_str());
    return Run(*args);
}
