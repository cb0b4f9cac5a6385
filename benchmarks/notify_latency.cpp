// Macro driver: how long a matching line takes from its write to its
// notification arriving at a server on 127.0.0.1: the web hook POST beside
// the e-mail of the same filter, in the same run. A writer thread appends
// lines that match one highlight filter (e-mail and web hook both on) to a
// followed file at steady pauses; the document is polled every 10 ms and the
// outcomes are drained between polls, as the tools do. The HTTP and SMTP
// servers are small ones of this driver that note when each notification's
// last byte came in. Figures: median and longest latency in milliseconds.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fcntl.h>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/DocContext.h"
#include "core/Monitoring.h"
#include "core/TarvikDoc.h"
#include "doc_bench_support.h"
#include "filters/HighlightActions.h"
#include "filters/HighlightFilters.h"
#include "filters/InExFilterList.h"
#include "latency_figures.h"
#include "mail/MailCenter.h"
#include "mail/MailSettings.h"
#include "platform/CodePage.h"
#include "platform/Registry.h"
#include "platform/TaskQueue.h"
#include "settings/Options.h"

namespace {

using bench::Clock;

constexpr int kLines = 200;
constexpr auto kPause = std::chrono::milliseconds(25);
constexpr auto kPoll = std::chrono::milliseconds(10);

// The number of the written line a notification carries, or -1.
int LineNumber(const std::string& text) {
    const std::string marker = "ERROR line ";
    const std::size_t at = text.find(marker);
    if (at == std::string::npos) return -1;
    return std::atoi(text.c_str() + at + marker.size());
}

struct Arrivals {
    std::mutex mutex;
    std::vector<std::int64_t> at = std::vector<std::int64_t>(kLines, 0);
    void Note(int line) {
        std::lock_guard lock(mutex);
        if (line >= 0 && line < kLines && at[line] == 0) at[line] = bench::NowNs();
    }
};

// A listening socket on 127.0.0.1 and a thread per connection; each
// connection is handed to talk(), which reads and answers it.
class LocalServer {
public:
    explicit LocalServer(std::function<void(int fd)> talk) : talk_(std::move(talk)) {
        listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (bind(listener_, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
            listen(listener_, 64) != 0 ||
            getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
            return;
        }
        port_ = ntohs(address.sin_port);
        acceptor_ = std::thread([this] { AcceptLoop(); });
    }
    ~LocalServer() {
        stop_ = true;
        if (acceptor_.joinable()) acceptor_.join();
        for (std::thread& t : talks_) t.join();
        close(listener_);
    }
    std::uint16_t Port() const { return port_; }

private:
    void AcceptLoop() {
        while (!stop_) {
            pollfd ready{listener_, POLLIN, 0};
            if (poll(&ready, 1, 50) != 1) continue;
            const int fd = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0) continue;
            talks_.emplace_back([this, fd] {
                talk_(fd);
                close(fd);
            });
        }
    }

    std::function<void(int)> talk_;
    int listener_ = -1;
    std::uint16_t port_ = 0;
    std::atomic<bool> stop_ = false;
    std::thread acceptor_;
    std::vector<std::thread> talks_;
};

// Reads into pending until it holds marker (or the peer is gone).
bool ReadUntil(int fd, std::string& pending, const std::string& marker) {
    char buffer[4096];
    while (pending.find(marker) == std::string::npos) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got <= 0) return false;
        pending.append(buffer, static_cast<std::size_t>(got));
    }
    return true;
}

void TalkHttp(int fd, Arrivals& arrivals) {
    std::string request;
    if (!ReadUntil(fd, request, "\r\n\r\n")) return;
    const std::size_t lengthAt = request.find("Content-Length: ");
    const std::size_t length = lengthAt == std::string::npos
                                   ? 0
                                   : std::strtoul(request.c_str() + lengthAt + 16, nullptr, 10);
    const std::size_t bodyAt = request.find("\r\n\r\n") + 4;
    char buffer[4096];
    while (request.size() < bodyAt + length) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got <= 0) return;
        request.append(buffer, static_cast<std::size_t>(got));
    }
    arrivals.Note(LineNumber(request.substr(bodyAt)));
    bench::WriteAll(fd,
                    "HTTP/1.1 204 No Content\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
}

void TalkSmtp(int fd, Arrivals& arrivals) {
    bench::WriteAll(fd, "220 sink ready\r\n");
    std::string pending;
    for (;;) {
        if (!ReadUntil(fd, pending, "\r\n")) return;
        const std::size_t end = pending.find("\r\n");
        const std::string line = pending.substr(0, end);
        pending.erase(0, end + 2);
        if (line.starts_with("DATA")) {
            bench::WriteAll(fd, "354 go on\r\n");
            if (!ReadUntil(fd, pending, "\r\n.\r\n")) return;
            const std::size_t dataEnd = pending.find("\r\n.\r\n");
            // The matched line is in the body, after the headers.
            arrivals.Note(LineNumber(pending.substr(pending.find("\r\n\r\n"), dataEnd)));
            pending.erase(0, dataEnd + 5);
            bench::WriteAll(fd, "250 taken\r\n");
        } else if (line.starts_with("QUIT")) {
            bench::WriteAll(fd, "221 bye\r\n");
            return;
        } else {
            bench::WriteAll(fd, "250 ok\r\n");
        }
    }
}

struct Run {
    std::vector<std::atomic<std::int64_t>> written = std::vector<std::atomic<std::int64_t>>(kLines);
    Arrivals posted;
    Arrivals mailed;
};

void WriteLines(const std::string& path, Run& run) {
    const int fd = open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd < 0) return;
    for (int i = 0; i < kLines; ++i) {
        std::this_thread::sleep_for(kPause);
        run.written[i] = bench::NowNs();
        bench::WriteAll(fd, "12:00:00 ERROR line " + std::to_string(i) + " of the run\n");
    }
    close(fd);
}

bool Complete(Arrivals& arrivals) {
    std::lock_guard lock(arrivals.mutex);
    for (const std::int64_t at : arrivals.at) {
        if (at == 0) return false;
    }
    return true;
}

void Follow(Run& run, std::uint16_t httpPort, std::uint16_t smtpPort) {
    platform::registry_store::UsePath(bench::BenchFolder() + "/notify-latency-registry.db");
    mail::MailSettings mailSettings;
    mailSettings.smtpServer = u"127.0.0.1";
    mailSettings.smtpPort = smtpPort;
    mailSettings.mailFrom = u"monitor@example.org";
    mail::SaveMailSettings(mailSettings);

    const std::string path = bench::FreshFile("notify-latency.log", "start of the quiet log\n");
    settings::Options options;
    filters::CInExFilters inEx;
    filters::CHighlightFilters highlight;
    filters::HighlightFilter filter;
    filter.phrase.Assign(u"ERROR", true, false);
    filter.Enable = true;
    filter.SendEmail = true;
    filter.Emails = u"ops@example.org";
    filter.PostWebHook = true;
    filter.WebHookUrl =
        platform::Utf8ToUtf16("http://127.0.0.1:" + std::to_string(httpPort) + "/hook");
    highlight.Replace({filter});

    platform::TaskQueue queue;
    mail::CMailCenter center(&queue, platform::SystemClock::Instance());
    const filters::HighlightActionPorts ports{.clock = platform::SystemClock::Instance(),
                                              .mail = &center,
                                              .webHook = &center.WebHooks(),
                                              .followedFiles = {}};
    core::DocContext context{options, inEx, platform::SystemClock::Instance()};
    context.highlightFilters = &highlight;
    context.highlightActions = &ports;
    core::DocumentList documents;
    documents.push_back(std::make_unique<core::CTarvikDoc>(context));
    if (!documents.back()->OnOpenDocument(platform::Utf8ToUtf16(path))) return;
    documents.back()->SetMonitoring(true);

    std::thread writer(WriteLines, path, std::ref(run));
    const auto giveUp = Clock::now() + std::chrono::seconds(60);
    while ((!Complete(run.posted) || !Complete(run.mailed)) && Clock::now() < giveUp) {
        queue.WaitAndDrain(static_cast<int>(kPoll.count()));
        core::PollDocuments(documents);
    }
    writer.join();
}

}  // namespace

int main() {
    std::printf("notify latency: %d matching lines at %lld ms pauses, write to arrival\n", kLines,
                static_cast<long long>(kPause.count()));
    Run run;
    {
        LocalServer http([&run](int fd) { TalkHttp(fd, run.posted); });
        LocalServer smtp([&run](int fd) { TalkSmtp(fd, run.mailed); });
        if (http.Port() == 0 || smtp.Port() == 0) {
            std::printf("  no local servers\n");
            return 1;
        }
        Follow(run, http.Port(), smtp.Port());
    }
    const bench::LatencyFigures post = bench::SummarizeLatency(run.written, run.posted.at);
    const bench::LatencyFigures mail = bench::SummarizeLatency(run.written, run.mailed.at);
    bench::PrintLatency("web hook POST", 22, post);
    bench::PrintLatency("e-mail (baseline)", 22, mail);
    if (mail.median > 0)
        std::printf("  median ratio web hook / e-mail: %.2f\n", post.median / mail.median);
    return 0;
}
