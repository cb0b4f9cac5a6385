#include "mail/SplitRecipients.h"

namespace mail {

namespace {

std::string_view TrimSpaces(std::string_view piece) {
    const auto first = piece.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const auto last = piece.find_last_not_of(' ');
    return piece.substr(first, last - first + 1);
}

}  // namespace

std::vector<std::string> SplitRecipients(std::string_view text, char separator) {
    std::vector<std::string> pieces;
    if (text.empty() || separator == '\0') return pieces;
    std::size_t start = 0;
    for (;;) {
        const auto end = text.find(separator, start);
        const auto piece = TrimSpaces(text.substr(
            start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (!piece.empty()) pieces.emplace_back(piece);
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return pieces;
}

std::string FirstRecipientsPiece(std::string_view text, char separator) {
    auto piece = text.substr(0, text.find(separator));
    const auto last = piece.find_last_not_of(' ');
    return std::string(last == std::string_view::npos ? piece.substr(0, 0)
                                                      : piece.substr(0, last + 1));
}

}  // namespace mail
