#pragma once
// One running instance per user and name: a lock file held with flock marks
// the running instance, and a Unix-domain socket beside it takes the command
// line of any later start. Both live in a folder only the user can enter.
//
// A hand-over message is the marker, the data's byte count and the data, all
// little-endian: marker (32 bits, 0x8899), count (32 bits), then the data
// built by BuildHandOverData. The receiver answers with the marker once it has
// accepted the arguments; anything malformed is dropped without an answer.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/CancelSignal.h"
#include "platform/IUiQueue.h"

namespace platform {

inline constexpr std::uint32_t kHandOverMarker = 0x8899;
// A receiver never takes more data than this from one start.
inline constexpr std::size_t kMaxHandOverBytes = 1024 * 1024;

// The hand-over data for a command line (arguments after the program name):
// each argument as UTF-16LE with its terminating zero, then one more zero;
// nothing at all when there are no arguments. Empty arguments are left out,
// since an empty string ends the list and would lose every argument after it.
std::vector<std::uint8_t> BuildHandOverData(const std::vector<std::u16string>& arguments);

// The arguments in hand-over data; nullopt when the data is malformed (odd
// length, or no empty string ending the list). Empty data gives no arguments.
std::optional<std::vector<std::u16string>> ParseHandOverData(std::span<const std::uint8_t> data);

// The data's byte count announced by the header (the first 8 bytes) of a
// received message; nullopt when it is no hand-over: a short header, another
// marker, more than a receiver takes, or an odd count.
std::optional<std::uint32_t> HandOverDataSize(std::span<const std::uint8_t> header);

// The whole message a later start sends: marker, byte count, data.
std::vector<std::uint8_t> BuildHandOverMessage(const std::vector<std::u16string>& arguments);

enum class InstanceStart {
    First,       // this process holds the lock and takes hand-overs
    HandedOver,  // the running instance took the command line; this process should end
    Further,     // another instance runs but did not answer (or one is allowed): start anyway
};

class CSingleInstance {
public:
    // Receives the arguments of a later start on the user-interface thread.
    using HandOverHandler = std::function<void(std::vector<std::u16string> arguments)>;

    // folder holds the lock file and the socket, named from mutexName.
    CSingleInstance(std::string_view mutexName, std::string folder = DefaultFolder());
    ~CSingleInstance();
    CSingleInstance(const CSingleInstance&) = delete;
    CSingleInstance& operator=(const CSingleInstance&) = delete;

    // Takes the lock. When another process holds it and onlyOneInstance is set,
    // hands arguments (after the program name) to it. As the first instance,
    // starts listening; each accepted hand-over is posted to queue as a call of
    // onHandOver. Call once.
    InstanceStart Start(bool onlyOneInstance, const std::vector<std::u16string>& arguments,
                        IUiQueue& queue, HandOverHandler onHandOver);

    bool IsListening() const { return listenFd_ >= 0; }
    const std::string& LockPath() const { return lockPath_; }
    const std::string& SocketPath() const { return socketPath_; }

    // $XDG_RUNTIME_DIR, else /tmp/ostra-tarvik-<uid>.
    static std::string DefaultFolder();

private:
    bool PrepareFolder() const;
    bool TakeLock();
    bool HandOver(const std::vector<std::u16string>& arguments) const;
    bool Listen();
    void AcceptLoop();
    void ServeConnection(int fd);

    std::string folder_;
    std::string lockPath_;
    std::string socketPath_;
    int lockFd_ = -1;
    int listenFd_ = -1;
    IUiQueue* queue_ = nullptr;
    HandOverHandler onHandOver_;
    CCancelSignal stop_;
    std::thread listener_;
};

}  // namespace platform
