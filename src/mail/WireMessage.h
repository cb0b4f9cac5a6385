#pragma once
// The message as it goes over the wire after DATA. The data ends at a line
// holding a single "." and lines end with CR LF only, so log text quoted in a
// message (which may carry bare line feeds, carriage returns, dots at line
// starts and very long lines) must be put in that shape first.

#include <cstddef>
#include <string>
#include <string_view>

namespace mail {

// The longest line the wire carries, in octets without its CR LF; strict
// servers refuse longer ones.
inline constexpr std::size_t kLongestWireLine = 998;

// The message (header lines, an empty line, the body) made fit for the wire:
// - a bare line feed or a bare carriage return becomes CR LF, so no server can
//   read a line end where another does not;
// - a longer line is folded with CR LF at a UTF-8 character boundary; in the
//   header the fold goes before a blank where there is one (else a blank is
//   added), so the rest stays part of its header field;
// - a line that begins with "." gets one more in front (data transparency).
std::string WireMessage(std::string_view message);

// What ends the data after the message: the message's last line still needs
// its CR LF unless it has one already, then the line with the single dot.
std::string_view EndOfDataMarker(std::string_view wireMessage);

}  // namespace mail
