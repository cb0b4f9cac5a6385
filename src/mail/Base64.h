#pragma once
// Standard Base64 (RFC 4648 alphabet, "=" padding, no line breaks), used for
// the AUTH LOGIN credentials.

#include <string>
#include <string_view>

namespace mail {

// Four characters for every started group of three bytes.
std::string Base64Encode(std::string_view bytes);

}  // namespace mail
