#include "mail/DotStuffing.h"

namespace mail {

std::string DotStuff(std::string_view message) {
    std::string stuffed;
    stuffed.reserve(message.size() + message.size() / 64 + 1);
    bool atLineStart = true;
    char previous = '\0';
    for (const char c : message) {
        if (atLineStart && c == '.') stuffed.push_back('.');
        if (c == '\n' && previous != '\r') stuffed.push_back('\r');
        stuffed.push_back(c);
        atLineStart = c == '\n';
        previous = c;
    }
    return stuffed;
}

std::string_view EndOfDataMarker(std::string_view wireMessage) {
    const bool endsWithLine =
        wireMessage.size() >= 2 && wireMessage.substr(wireMessage.size() - 2) == "\r\n";
    return endsWithLine ? ".\r\n" : "\r\n.\r\n";
}

}  // namespace mail
