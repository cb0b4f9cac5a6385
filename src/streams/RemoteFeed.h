#pragma once
// What a remote source reads over one connection after another: the script
// the far side runs, and how its output becomes lines. A feed keeps its
// place between connections (a file's inode and byte, a journal's cursor),
// so that a connection made again after a drop goes on where the last one
// stopped: nothing lost, nothing twice.

#include <cstddef>
#include <string>
#include <string_view>

namespace streams {

// Lines made from what the far side sent, each ending in "\r\n": the tail
// at open (shown, but running no actions) and what is new.
struct RemoteLines {
    std::u16string& tail;
    std::u16string& fresh;
};

class IRemoteFeed {
public:
    virtual ~IRemoteFeed() = default;
    // The script for the next connection: going on from the place kept, or
    // the tail at open (of about tailUnits) when there is none.
    virtual std::string Script(std::size_t tailUnits) const = 0;
    // Takes what the far side sent. False when it is not what the script
    // sends: the connection is dropped then, the place staying after the
    // last whole entry or byte taken.
    virtual bool Consume(std::string_view bytes, RemoteLines& lines) = 0;
    // Takes a line the script wrote to standard error after kRemoteControl
    // (without it); false as for Consume.
    virtual bool ConsumeControl(std::string_view, RemoteLines&) { return false; }
    // The connection ended: an unfinished entry is dropped.
    virtual void ConnectionEnded() = 0;
    // Forgets the place, so that the next connection takes the tail again.
    virtual void Forget() = 0;
    // True while the tail at open is still coming.
    virtual bool InTail() const = 0;
    // What the far side waits for, for the title ("waiting for the file");
    // empty for nothing.
    virtual std::u16string Waiting() const { return {}; }
};

}  // namespace streams
