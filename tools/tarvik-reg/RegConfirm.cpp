#include "RegConfirm.h"

#include <algorithm>
#include <cctype>

namespace tarvik_reg {

bool Confirm(const std::string& question, std::istream& in, std::ostream& out) {
    std::string answer;
    for (;;) {
        out << question << " (Yes/No)? " << std::flush;
        if (!std::getline(in, answer)) {
            out << '\n';
            return false;
        }
        std::transform(answer.begin(), answer.end(), answer.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        answer.erase(std::remove_if(answer.begin(), answer.end(),
                                    [](unsigned char c) { return std::isspace(c); }),
                     answer.end());
        if (answer == "y" || answer == "yes") return true;
        if (answer == "n" || answer == "no") return false;
    }
}

}  // namespace tarvik_reg
