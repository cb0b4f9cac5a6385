#include "platform/HostName.h"

#include <unistd.h>

#include <array>

namespace platform {

std::string HostName() {
    std::array<char, 256> buffer{};
    if (gethostname(buffer.data(), buffer.size() - 1) != 0) return "localhost";
    std::string name;
    for (const char ch : std::string(buffer.data())) {
        const bool kept = (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') ||
                          (ch >= '0' && ch <= '9') || ch == '-' || ch == '.' || ch == '_';
        if (kept) name += ch;
    }
    return name.empty() ? "localhost" : name;
}

}  // namespace platform
