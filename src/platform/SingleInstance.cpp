#include "platform/SingleInstance.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

#include "platform/Socket.h"

namespace platform {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kHeaderBytes = 8;
// A starting first instance may not be listening yet; a later start keeps
// trying to reach it this long before it starts on its own.
constexpr auto kConnectPatience = std::chrono::milliseconds(1000);
constexpr auto kConnectRetryPause = std::chrono::milliseconds(50);
// Bounds on each side of one hand-over, so neither process can hang the other.
constexpr auto kReceiveTime = std::chrono::milliseconds(2000);
constexpr auto kAnswerTime = std::chrono::milliseconds(5000);

void AppendLe32(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back((value >> shift) & 0xFF);
}

std::uint32_t ReadLe32(const std::uint8_t* bytes) {
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

// Keeps the name usable as a file name whatever characters the caller chose.
std::string FileNameFrom(std::string_view name) {
    std::string safe(name);
    for (char& ch : safe) {
        const bool plain = (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') ||
                           (ch >= '0' && ch <= '9') || ch == '_' || ch == '-' || ch == '.';
        if (!plain) ch = '_';
    }
    return safe.empty() ? std::string("instance") : safe;
}

bool FillAddress(const std::string& path, sockaddr_un& address) {
    address = {};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

int MillisecondsLeft(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// Waits for fd to become ready; false on time-out, error or a raised cancelFd.
bool WaitReady(int fd, short events, Clock::time_point deadline, int cancelFd) {
    pollfd entries[2] = {{fd, events, 0}, {cancelFd, POLLIN, 0}};
    const nfds_t count = cancelFd >= 0 ? 2 : 1;
    for (;;) {
        entries[0].revents = entries[1].revents = 0;
        const int ready = poll(entries, count, MillisecondsLeft(deadline));
        if (ready < 0 && errno == EINTR) continue;
        return ready > 0 && entries[0].revents != 0;
    }
}

bool ReadExactly(int fd, std::uint8_t* buffer, std::size_t count, Clock::time_point deadline,
                 int cancelFd) {
    while (count > 0) {
        const ssize_t got = recv(fd, buffer, count, 0);
        if (got > 0) {
            buffer += got;
            count -= static_cast<std::size_t>(got);
            continue;
        }
        if (got == 0) return false;
        if (errno == EINTR) continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) return false;
        if (!WaitReady(fd, POLLIN, deadline, cancelFd)) return false;
    }
    return true;
}

bool WriteExactly(int fd, const std::uint8_t* bytes, std::size_t count,
                  Clock::time_point deadline) {
    while (count > 0) {
        const ssize_t sent = send(fd, bytes, count, MSG_NOSIGNAL);
        if (sent > 0) {
            bytes += sent;
            count -= static_cast<std::size_t>(sent);
            continue;
        }
        if (sent < 0 && errno == EINTR) continue;
        if (sent < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return false;
        if (!WaitReady(fd, POLLOUT, deadline, -1)) return false;
    }
    return true;
}

bool PeerIsThisUser(int fd) {
    ucred credentials{};
    socklen_t length = sizeof credentials;
    if (getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &length) != 0) return false;
    return credentials.uid == geteuid();
}

}  // namespace

std::vector<std::uint8_t> BuildHandOverData(const std::vector<std::u16string>& arguments) {
    std::vector<std::uint8_t> data;
    auto appendUnit = [&data](char16_t unit) {
        data.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        data.push_back(static_cast<std::uint8_t>(unit >> 8));
    };
    for (const std::u16string& argument : arguments) {
        if (argument.empty()) continue;
        for (char16_t unit : argument) appendUnit(unit);
        appendUnit(u'\0');
    }
    if (!data.empty()) appendUnit(u'\0');
    return data;
}

std::optional<std::vector<std::u16string>> ParseHandOverData(std::span<const std::uint8_t> data) {
    std::vector<std::u16string> arguments;
    if (data.empty()) return arguments;
    if (data.size() % 2 != 0) return std::nullopt;
    std::u16string current;
    for (std::size_t i = 0; i < data.size(); i += 2) {
        const auto unit = static_cast<char16_t>(data[i] | data[i + 1] << 8);
        if (unit != u'\0') {
            current.push_back(unit);
            continue;
        }
        if (current.empty()) return arguments;
        arguments.push_back(std::move(current));
        current.clear();
    }
    return std::nullopt;
}

std::optional<std::uint32_t> HandOverDataSize(std::span<const std::uint8_t> header) {
    if (header.size() < kHeaderBytes) return std::nullopt;
    const std::uint32_t marker = ReadLe32(header.data());
    const std::uint32_t size = ReadLe32(header.data() + 4);
    if (marker != kHandOverMarker || size > kMaxHandOverBytes || size % 2 != 0) return std::nullopt;
    return size;
}

std::vector<std::uint8_t> BuildHandOverMessage(const std::vector<std::u16string>& arguments) {
    const std::vector<std::uint8_t> data = BuildHandOverData(arguments);
    std::vector<std::uint8_t> message;
    message.reserve(kHeaderBytes + data.size());
    AppendLe32(message, kHandOverMarker);
    AppendLe32(message, static_cast<std::uint32_t>(data.size()));
    message.insert(message.end(), data.begin(), data.end());
    return message;
}

std::string CSingleInstance::DefaultFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/') return runtime;
    return "/tmp/ostra-tarvik-" + std::to_string(geteuid());
}

CSingleInstance::CSingleInstance(std::string_view mutexName, std::string folder)
    : folder_(std::move(folder)) {
    const std::string base = folder_ + "/" + FileNameFrom(mutexName);
    lockPath_ = base + ".lock";
    socketPath_ = base + ".sock";
}

CSingleInstance::~CSingleInstance() {
    stop_.Raise();
    if (listener_.joinable()) listener_.join();
    if (listenFd_ >= 0) {
        close(listenFd_);
        unlink(socketPath_.c_str());
    }
    // Closing the descriptor releases the lock; the file stays so that no
    // later start can lock a file that is about to disappear.
    if (lockFd_ >= 0) close(lockFd_);
}

InstanceStart CSingleInstance::Start(bool onlyOneInstance,
                                     const std::vector<std::u16string>& arguments, IUiQueue& queue,
                                     HandOverHandler onHandOver) {
    if (!PrepareFolder()) return InstanceStart::Further;
    if (!TakeLock()) {
        if (onlyOneInstance && HandOver(arguments)) return InstanceStart::HandedOver;
        return InstanceStart::Further;
    }
    queue_ = &queue;
    onHandOver_ = std::move(onHandOver);
    if (Listen()) listener_ = std::thread([this] { AcceptLoop(); });
    return InstanceStart::First;
}

bool CSingleInstance::PrepareFolder() const {
    if (mkdir(folder_.c_str(), 0700) != 0 && errno != EEXIST) return false;
    struct stat info {};
    if (lstat(folder_.c_str(), &info) != 0) return false;
    // A folder someone else owns, or a link planted in its place, is never used.
    if (!S_ISDIR(info.st_mode) || info.st_uid != geteuid()) return false;
    if ((info.st_mode & 077) != 0 && chmod(folder_.c_str(), 0700) != 0) return false;
    return true;
}

bool CSingleInstance::TakeLock() {
    const int fd = open(lockPath_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return false;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return false;
    }
    lockFd_ = fd;
    return true;
}

bool CSingleInstance::HandOver(const std::vector<std::u16string>& arguments) const {
    const std::vector<std::uint8_t> message = BuildHandOverMessage(arguments);
    if (message.size() - kHeaderBytes > kMaxHandOverBytes) return false;
    sockaddr_un address;
    if (!FillAddress(socketPath_, address)) return false;
    const auto giveUp = Clock::now() + kConnectPatience;
    CSocket socket;
    while (!socket.Connect(reinterpret_cast<const sockaddr*>(&address), sizeof address, 1, -1)) {
        if (Clock::now() >= giveUp) return false;
        std::this_thread::sleep_for(kConnectRetryPause);
    }
    const auto deadline = Clock::now() + kAnswerTime;
    if (!WriteExactly(socket.Fd(), message.data(), message.size(), deadline)) return false;
    std::uint8_t answer[4];
    if (!ReadExactly(socket.Fd(), answer, sizeof answer, deadline, -1)) return false;
    return ReadLe32(answer) == kHandOverMarker;
}

bool CSingleInstance::Listen() {
    sockaddr_un address;
    if (!FillAddress(socketPath_, address)) return false;
    // Holding the lock means any socket file here is left from an instance that
    // is gone, so it is replaced.
    unlink(socketPath_.c_str());
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return false;
    if (bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        chmod(socketPath_.c_str(), 0600) != 0 || listen(fd, 8) != 0) {
        close(fd);
        unlink(socketPath_.c_str());
        return false;
    }
    listenFd_ = fd;
    return true;
}

void CSingleInstance::AcceptLoop() {
    while (!stop_.IsRaised()) {
        pollfd entries[2] = {{listenFd_, POLLIN, 0}, {stop_.Fd(), POLLIN, 0}};
        const int ready = poll(entries, 2, -1);
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0 || (entries[1].revents & POLLIN) != 0) return;
        const int connection = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (connection < 0) continue;
        ServeConnection(connection);
        close(connection);
    }
}

void CSingleInstance::ServeConnection(int fd) {
    if (!PeerIsThisUser(fd)) return;
    const auto deadline = Clock::now() + kReceiveTime;
    std::uint8_t header[kHeaderBytes];
    if (!ReadExactly(fd, header, sizeof header, deadline, stop_.Fd())) return;
    const std::optional<std::uint32_t> size = HandOverDataSize(header);
    if (!size) return;
    std::vector<std::uint8_t> data(*size);
    if (!ReadExactly(fd, data.data(), data.size(), deadline, stop_.Fd())) return;
    std::optional<std::vector<std::u16string>> arguments = ParseHandOverData(data);
    if (!arguments) return;
    queue_->Post([handler = onHandOver_, arguments = std::move(*arguments)]() mutable {
        if (handler) handler(std::move(arguments));
    });
    std::vector<std::uint8_t> answer;
    AppendLe32(answer, kHandOverMarker);
    WriteExactly(fd, answer.data(), answer.size(), deadline);
}

}  // namespace platform
