#pragma once
// The time formats of notification e-mails. Day and month names are always
// the English abbreviations, whatever the user's locale.

#include <cstdint>
#include <string>

#include "platform/IClock.h"

namespace mail {

// The Date header value, "Tue, 02 Mar 2010 15:32:21 -0100": the local time
// and its offset from UTC. A zone at UTC itself is written "-0000".
std::u16string FormatMailDate(const platform::LocalTime& time);

// The time a "%t" tag stands for, "Tue Mar 02 15:32:21 2010".
std::u16string FormatTagTime(const platform::LocalTime& time);

// The local time, with its offset, of a moment given in seconds since 1970 UTC.
platform::LocalTime LocalTimeAt(std::int64_t unixTime);

}  // namespace mail
