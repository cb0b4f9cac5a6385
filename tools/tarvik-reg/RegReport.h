#pragma once
// How tarvik-reg reports: the streams it talks through, the success line and
// the error messages, each returning the exit code to end with.

#include <istream>
#include <optional>
#include <ostream>
#include <string>

#include "RegKeyPath.h"

namespace tarvik_reg {

struct Streams {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
};

int Done(Streams streams);
int Cancelled(Streams streams);
int Fail(Streams streams, const std::string& message);
int FailStatus(Streams streams, platform::LSTATUS status);
// The key named on the command line; prints the error when it has no valid root.
std::optional<KeyPath> KeyArgument(const std::string& text, Streams streams);

}  // namespace tarvik_reg
