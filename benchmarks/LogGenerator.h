#pragma once
// A deterministic generator of realistic log lines for the benchmarks: mixed
// INFO/WARN/ERROR lines of 80 to 200 characters with time stamps, components,
// user names, session ids, status codes and the occasional exception, so that
// every pattern of patterns.txt finds some lines and misses most.

#include <cstdint>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

namespace bench {

class LogGenerator {
public:
    explicit LogGenerator(std::uint64_t seed = 42) : state_(seed * 2654435761u + 1) {}

    // One line of ASCII text without a line break.
    std::string NextLine() {
        std::string line;
        line.reserve(220);
        AppendTimestamp(line);
        const unsigned level = Next() % 100;
        line += level < 80 ? " INFO  " : level < 93 ? " WARN  " : " ERROR ";
        line += kComponents[Next() % std::size(kComponents)];
        line += ": ";
        AppendMessage(line, level);
        const std::size_t target = 80 + Next() % 121;  // 80..200 characters
        while (line.size() < target) {
            line += ' ';
            line += kFiller[Next() % std::size(kFiller)];
        }
        if (line.size() > 200) line.resize(200);
        return line;
    }

    std::vector<std::string> Lines(std::size_t count) {
        std::vector<std::string> lines;
        lines.reserve(count);
        for (std::size_t i = 0; i < count; ++i) lines.push_back(NextLine());
        return lines;
    }

    // The lines as one text, each followed by the given break.
    static std::string Join(const std::vector<std::string>& lines, const std::string& brk = "\n") {
        std::string text;
        std::size_t total = 0;
        for (const auto& l : lines) total += l.size() + brk.size();
        text.reserve(total);
        for (const auto& l : lines) {
            text += l;
            text += brk;
        }
        return text;
    }

    // ASCII text widened to UTF-16 code units.
    static std::u16string Widen(const std::string& ascii) { return {ascii.begin(), ascii.end()}; }

private:
    static constexpr const char* kComponents[] = {
        "http.server", "db.pool",        "auth",        "scheduler", "cache", "mail.queue",
        "payment",     "search.indexer", "api.gateway", "storage",   "jvm",   "sshd"};
    static constexpr const char* kFiller[] = {"request completed",
                                              "latency=12ms",
                                              "bytes=2048",
                                              "retry=0",
                                              "path=/api/v1/items",
                                              "client=10.0.0.17",
                                              "thread=worker-3",
                                              "queue=default",
                                              "region=eu-west",
                                              "trace=ab12cd34",
                                              "ok",
                                              "cached=true",
                                              "size=512",
                                              "attempt=1",
                                              "node=app-07"};

    std::uint32_t Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return static_cast<std::uint32_t>(state_ >> 11);
    }

    void AppendTimestamp(std::string& line) {
        seconds_ += Next() % 3;
        char buf[40];
        std::snprintf(buf, sizeof buf, "2026-12-08 %02u:%02u:%02u.%03u",
                      static_cast<unsigned>(seconds_ / 3600 % 24),
                      static_cast<unsigned>(seconds_ / 60 % 60),
                      static_cast<unsigned>(seconds_ % 60), Next() % 1000);
        line += buf;
    }

    void AppendMessage(std::string& line, unsigned level) {
        char buf[160];
        const unsigned kind = Next() % 100;
        if (level >= 93) {
            static constexpr const char* kErrors[] = {
                "connection refused by upstream",
                "timeout waiting for response",
                "java.lang.OutOfMemoryError: Java heap space",
                "java.lang.NullPointerException at Handler.process",
                "Failed password for invalid user admin",
                "disk usage at 97% on /var"};
            std::snprintf(buf, sizeof buf, "ERROR %u %s", Next() % 9000 + 1000,
                          kErrors[Next() % std::size(kErrors)]);
        } else if (kind < 20) {
            std::snprintf(buf, sizeof buf, "user=%s%u logged in",
                          kUsers[Next() % std::size(kUsers)], Next() % 100);
        } else if (kind < 40) {
            std::snprintf(buf, sizeof buf, "GET /api/v1/orders status=%u time=%ums",
                          kStatus[Next() % std::size(kStatus)], Next() % 900);
        } else if (kind < 50) {
            std::snprintf(buf, sizeof buf, "session %08x expired after %u s", Next(),
                          Next() % 3600);
        } else if (kind < 60) {
            std::snprintf(buf, sizeof buf, "memory usage at %u%% of limit", Next() % 100);
        } else {
            std::snprintf(buf, sizeof buf, "processed batch %u with %u items", Next() % 100000,
                          Next() % 500);
        }
        line += buf;
    }

    static constexpr const char* kUsers[] = {"alice", "bob", "carol", "dave", "eve", "mallory"};
    static constexpr unsigned kStatus[] = {200, 200, 200, 201, 204, 301, 404, 500, 502, 503};

    std::uint64_t state_;
    std::uint64_t seconds_ = 0;
};

}  // namespace bench
