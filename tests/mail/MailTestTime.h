#pragma once
// Fixed moments and a clock that tests set by hand.

#include "platform/IClock.h"

namespace mail_test {

// Tue 02 Mar 2010 15:32:21 at the given offset east of UTC.
inline platform::LocalTime SampleTime(long utcOffsetSeconds = 0) {
    platform::LocalTime time;
    time.year = 2010;
    time.month = 3;
    time.dayOfWeek = 2;
    time.day = 2;
    time.hour = 15;
    time.minute = 32;
    time.second = 21;
    time.utcOffsetSeconds = utcOffsetSeconds;
    return time;
}

class FakeClock final : public platform::IClock {
public:
    std::uint64_t TickMs() const override { return 0; }
    std::int64_t UnixTime() const override { return 1267543941; }
    platform::LocalTime Local() const override { return local; }

    platform::LocalTime local = SampleTime();
};

}  // namespace mail_test
