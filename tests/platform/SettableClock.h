#pragma once
// A clock the test moves by hand: seconds since 1970, local time taken as UTC.

#include <ctime>

#include "platform/IClock.h"

namespace platform_test {

class SettableClock final : public platform::IClock {
public:
    // Tue 08 Dec 2026 10:00:00 UTC unless told otherwise.
    explicit SettableClock(std::int64_t start = 1796724000) : now(start) {}

    std::uint64_t TickMs() const override { return static_cast<std::uint64_t>(now) * 1000; }
    std::int64_t UnixTime() const override { return now; }
    platform::LocalTime Local() const override {
        const time_t seconds = static_cast<time_t>(now);
        tm parts{};
        gmtime_r(&seconds, &parts);
        platform::LocalTime local;
        local.year = parts.tm_year + 1900;
        local.month = parts.tm_mon + 1;
        local.dayOfWeek = parts.tm_wday;
        local.day = parts.tm_mday;
        local.hour = parts.tm_hour;
        local.minute = parts.tm_min;
        local.second = parts.tm_sec;
        return local;
    }
    std::int64_t now;
};

}  // namespace platform_test
