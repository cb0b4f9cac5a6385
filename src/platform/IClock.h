#pragma once
// Time as the engine sees it. Tests drive a fake clock instead of sleeping.

#include <chrono>
#include <cstdint>

namespace platform {

// Broken-down local time, the fields a SYSTEMTIME carries.
struct LocalTime {
    int year = 0;
    int month = 0;      // 1..12
    int dayOfWeek = 0;  // 0 = Sunday
    int day = 0;        // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int milliseconds = 0;
    long utcOffsetSeconds = 0;  // east of UTC
};

class IClock {
public:
    virtual ~IClock() = default;
    // Milliseconds of a monotonic clock (a tick count).
    virtual std::uint64_t TickMs() const = 0;
    // Seconds since 1970-01-01 UTC.
    virtual std::int64_t UnixTime() const = 0;
    virtual LocalTime Local() const = 0;
};

// The real clock of the machine.
class SystemClock final : public IClock {
public:
    std::uint64_t TickMs() const override;
    std::int64_t UnixTime() const override;
    LocalTime Local() const override;
    static SystemClock& Instance();
};

}  // namespace platform
