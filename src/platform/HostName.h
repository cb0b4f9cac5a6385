#pragma once
// The name of this computer, as notifications name where they come from.

#include <string>

namespace platform {

// The system's host name, keeping only letters, digits, '-', '.' and '_'
// (what a host name may hold); "localhost" when there is none.
std::string HostName();

}  // namespace platform
