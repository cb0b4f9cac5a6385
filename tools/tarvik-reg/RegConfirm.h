#pragma once
// The Yes/No question destructive commands ask without /f.

#include <istream>
#include <ostream>
#include <string>

namespace tarvik_reg {

// Asks until the answer is yes or no; the end of input counts as no.
bool Confirm(const std::string& question, std::istream& in, std::ostream& out);

}  // namespace tarvik_reg
