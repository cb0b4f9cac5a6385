#pragma once
// SMTP data transparency: the data ends at a line holding a single ".", so
// every line that begins with "." gets one more in front. Log text quoted in a
// message can then never end the data early.

#include <string>
#include <string_view>

namespace mail {

// The message as it goes over the wire after DATA. Lines end with CR LF on the
// wire, so a bare line feed (log text may carry them) becomes CR LF, and a
// line that begins with "." gets a second one.
std::string DotStuff(std::string_view message);

// What ends the data after the message: the message's last line still needs
// its CR LF unless it has one already, then the line with the single dot.
std::string_view EndOfDataMarker(std::string_view wireMessage);

}  // namespace mail
