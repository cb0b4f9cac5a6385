#include "capture/MessagePrefix.h"

#include <algorithm>
#include <mutex>

namespace capture {

namespace {

constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr std::size_t kTimeUnits = 24;

char16_t* PutDecimal(std::uint32_t value, char16_t* out) {
    char16_t digits[10];
    int n = 0;
    do {
        digits[n++] = static_cast<char16_t>(u'0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (n > 0) *out++ = digits[--n];
    return out;
}

char16_t* PutAscii(const char* text, char16_t* out) {
    while (*text) *out++ = static_cast<char16_t>(*text++);
    return out;
}

char16_t* PutTwoDigits(int value, char16_t* out) {
    *out++ = static_cast<char16_t>(u'0' + value / 10 % 10);
    *out++ = static_cast<char16_t>(u'0' + value % 10);
    return out;
}

// Converting a time is costly next to a message, and a flood brings many
// messages per second: the text of the last second is kept.
struct TimeCache {
    std::mutex mutex;
    std::time_t second = -1;
    char16_t text[kTimeUnits] = {};
};

}  // namespace

void FormatCaptureTime(std::time_t t, char16_t* out) {
    static TimeCache cache;
    std::lock_guard lock(cache.mutex);
    if (cache.second != t) {
        std::tm local{};
        localtime_r(&t, &local);
        char16_t* p = cache.text;
        p = PutAscii(kDays[(local.tm_wday % 7 + 7) % 7], p);
        *p++ = u' ';
        p = PutAscii(kMonths[(local.tm_mon % 12 + 12) % 12], p);
        *p++ = u' ';
        p = PutTwoDigits(local.tm_mday, p);
        *p++ = u' ';
        p = PutTwoDigits(local.tm_hour, p);
        *p++ = u':';
        p = PutTwoDigits(local.tm_min, p);
        *p++ = u':';
        p = PutTwoDigits(local.tm_sec, p);
        *p++ = u' ';
        const int year = local.tm_year + 1900;
        p = PutTwoDigits(year / 100, p);
        PutTwoDigits(year % 100, p);
        cache.second = t;
    }
    std::copy(cache.text, cache.text + kTimeUnits, out);
}

std::size_t WritePrefix(const PrefixParts& parts, char16_t* out) {
    char16_t* p = out;
    if (parts.sequence) {
        *p++ = u'[';
        p = PutDecimal(*parts.sequence, p);
        *p++ = u']';
    }
    if (parts.processId) {
        *p++ = u'[';
        p = PutDecimal(*parts.processId, p);
        *p++ = u']';
    }
    if (parts.time) {
        *p++ = u'[';
        FormatCaptureTime(*parts.time, p);
        p += kTimeUnits;
        *p++ = u']';
    }
    if (p != out) *p++ = u' ';
    return static_cast<std::size_t>(p - out);
}

}  // namespace capture
