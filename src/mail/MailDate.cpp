#include "mail/MailDate.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string_view>

namespace mail {

namespace {

constexpr std::array<std::string_view, 7> kDayNames = {"Sun", "Mon", "Tue", "Wed",
                                                       "Thu", "Fri", "Sat"};
constexpr std::array<std::string_view, 12> kMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// A time from outside (a clock, a conversion) is never trusted to index a
// table: out-of-range fields give "???" instead of reading past it.
template <std::size_t N>
std::string_view NameAt(const std::array<std::string_view, N>& names, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= N) return "???";
    return names[static_cast<std::size_t>(index)];
}

std::string_view DayName(const platform::LocalTime& time) {
    return NameAt(kDayNames, time.dayOfWeek);
}

std::string_view MonthName(const platform::LocalTime& time) {
    return NameAt(kMonthNames, time.month - 1);
}

std::u16string Widen(std::string_view ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

template <typename... Args>
std::u16string Format(const char* format, Args... args) {
    std::array<char, 128> buffer{};
    const int length = std::snprintf(buffer.data(), buffer.size(), format, args...);
    if (length <= 0) return {};
    const auto size = std::min(static_cast<std::size_t>(length), buffer.size() - 1);
    return Widen(std::string_view(buffer.data(), size));
}

}  // namespace

std::u16string FormatMailDate(const platform::LocalTime& time) {
    // The offset is written as minutes west of UTC, the sign turned round:
    // zero and zones west get "-", zones east "+".
    const long minutesWest = -(time.utcOffsetSeconds / 60);
    const char sign = minutesWest >= 0 ? '-' : '+';
    const long absolute = std::labs(minutesWest);
    return Format("%.3s, %02d %.3s %d %02d:%02d:%02d %c%02ld%02ld", DayName(time).data(), time.day,
                  MonthName(time).data(), time.year, time.hour, time.minute, time.second, sign,
                  absolute / 60, absolute % 60);
}

std::u16string FormatTagTime(const platform::LocalTime& time) {
    return Format("%.3s %.3s %02d %02d:%02d:%02d %d", DayName(time).data(), MonthName(time).data(),
                  time.day, time.hour, time.minute, time.second, time.year);
}

platform::LocalTime LocalTimeAt(std::int64_t unixTime) {
    const auto seconds = static_cast<std::time_t>(unixTime);
    std::tm tm{};
    platform::LocalTime time;
    if (localtime_r(&seconds, &tm) == nullptr) return time;
    time.year = tm.tm_year + 1900;
    time.month = tm.tm_mon + 1;
    time.dayOfWeek = tm.tm_wday;
    time.day = tm.tm_mday;
    time.hour = tm.tm_hour;
    time.minute = tm.tm_min;
    time.second = tm.tm_sec;
    time.utcOffsetSeconds = tm.tm_gmtoff;
    return time;
}

}  // namespace mail
