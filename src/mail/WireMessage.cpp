#include "mail/WireMessage.h"

namespace mail {

namespace {

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// The length of the first piece of an over-long line that holds at most room
// octets: it never ends inside a UTF-8 character (a character has at most
// three continuation bytes; text that is not UTF-8 is cut at room).
std::size_t CharacterCut(std::string_view line, std::size_t room) {
    std::size_t cut = room;
    while (cut > room - 3 && IsContinuationByte(line[cut])) --cut;
    return IsContinuationByte(line[cut]) ? room : cut;
}

// In the header a fold goes before the last blank within room, so that the
// field reads the same once unfolded; 0 when there is none to use.
std::size_t BlankCut(std::string_view line, std::size_t room) {
    for (std::size_t cut = room; cut > 0; --cut) {
        if (IsBlank(line[cut])) return cut;
    }
    return 0;
}

class CWireWriter {
public:
    explicit CWireWriter(std::size_t capacity) { wire_.reserve(capacity); }

    // One line of the message without its line end; ended says whether it had one.
    void AddLine(std::string_view line, bool ended) {
        const bool header = inHeader_;
        if (line.empty() && ended) inHeader_ = false;
        bool first = true;
        for (;;) {
            std::size_t room = kLongestWireLine;
            // A header line goes on after a fold with a blank of its own, or an added one.
            const bool blankAdded = header && !first && !IsBlank(line.front());
            const bool dotAdded = !blankAdded && !line.empty() && line.front() == '.';
            if (blankAdded) wire_.push_back(' ');
            if (dotAdded) wire_.push_back('.');
            if (blankAdded || dotAdded) --room;
            if (line.size() <= room) break;
            std::size_t cut = header ? BlankCut(line, room) : 0;
            if (cut == 0) cut = CharacterCut(line, room);
            wire_.append(line.substr(0, cut));
            wire_.append("\r\n");
            line.remove_prefix(cut);
            first = false;
        }
        wire_.append(line);
        if (ended) wire_.append("\r\n");
    }

    std::string Take() { return std::move(wire_); }

private:
    std::string wire_;
    bool inHeader_ = true;
};

}  // namespace

std::string WireMessage(std::string_view message) {
    CWireWriter writer(message.size() + message.size() / 64 + 2);
    std::size_t start = 0;
    for (std::size_t i = 0; i < message.size(); ++i) {
        const char c = message[i];
        if (c != '\r' && c != '\n') continue;
        writer.AddLine(message.substr(start, i - start), true);
        // CR LF is one line end; a bare CR or LF is one as well.
        if (c == '\r' && i + 1 < message.size() && message[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < message.size()) writer.AddLine(message.substr(start), false);
    return writer.Take();
}

std::string_view EndOfDataMarker(std::string_view wireMessage) {
    const bool endsWithLine =
        wireMessage.size() >= 2 && wireMessage.substr(wireMessage.size() - 2) == "\r\n";
    return endsWithLine ? ".\r\n" : "\r\n.\r\n";
}

}  // namespace mail
