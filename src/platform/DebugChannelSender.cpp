#include "platform/DebugChannelSender.h"

#include <fcntl.h>
#include <semaphore.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <mutex>
#include <string>

#include "platform/CodePage.h"
#include "platform/DebugChannel.h"
#include "platform/SharedObjectLock.h"

namespace platform {

namespace {

// The channel as this process last found it. Kept open between messages so
// a flood costs no opening per message; dropped when the monitor went.
class CSenderChannel {
public:
    bool Send(std::string_view text) {
        std::lock_guard lock(mutex_);
        if (!Attach()) return false;
        if (!WaitForBuffer()) {
            // A monitor that does not answer: the next message looks again.
            Detach();
            return false;
        }
        auto* bytes = static_cast<unsigned char*>(map_);
        const std::uint32_t pid = static_cast<std::uint32_t>(getpid());
        for (int i = 0; i < 4; ++i) bytes[i] = static_cast<unsigned char>(pid >> (8 * i));
        std::memcpy(bytes + kDebugTextOffset, text.data(), text.size());
        bytes[kDebugTextOffset + text.size()] = 0;
        sem_post(dataReady_);
        return true;
    }

private:
    // Open while a live monitor owns the channel; the buffer still having
    // its name shows that the monitor that made it has not closed it.
    bool Attach() {
        if (map_) {
            struct stat st {};
            if (fstat(bufferFd_, &st) == 0 && st.st_nlink > 0) return true;
            Detach();
        }
        // No monitor: return at once, as the original protocol does.
        if (!CSharedObjectLock::IsHeldByAnyone(names_.monitorLock)) return false;
        bufferReady_ = sem_open(names_.bufferReady.c_str(), 0);
        dataReady_ = sem_open(names_.dataReady.c_str(), 0);
        bufferFd_ = shm_open(names_.buffer.c_str(), O_RDWR | O_CLOEXEC, 0);
        if (bufferReady_ != SEM_FAILED && dataReady_ != SEM_FAILED && bufferFd_ >= 0) {
            void* map =
                mmap(nullptr, kDebugBufferBytes, PROT_READ | PROT_WRITE, MAP_SHARED, bufferFd_, 0);
            if (map != MAP_FAILED) {
                map_ = map;
                return true;
            }
        }
        Detach();
        return false;
    }

    void Detach() {
        if (map_) munmap(map_, kDebugBufferBytes);
        map_ = nullptr;
        if (bufferFd_ >= 0) close(bufferFd_);
        bufferFd_ = -1;
        if (bufferReady_ != SEM_FAILED) sem_close(bufferReady_);
        if (dataReady_ != SEM_FAILED) sem_close(dataReady_);
        bufferReady_ = SEM_FAILED;
        dataReady_ = SEM_FAILED;
    }

    bool WaitForBuffer() {
        if (sem_trywait(bufferReady_) == 0) return true;
        timespec deadline{};
        clock_gettime(CLOCK_REALTIME, &deadline);
        deadline.tv_nsec += static_cast<long>(kDebugSendWaitMs) * 1000000L;
        deadline.tv_sec += deadline.tv_nsec / 1000000000L;
        deadline.tv_nsec %= 1000000000L;
        while (sem_timedwait(bufferReady_, &deadline) != 0) {
            if (errno != EINTR) return false;
        }
        return true;
    }

    std::mutex mutex_;
    DebugChannelNames names_ = DebugChannelNamesForUser();
    sem_t* bufferReady_ = SEM_FAILED;
    sem_t* dataReady_ = SEM_FAILED;
    int bufferFd_ = -1;
    void* map_ = nullptr;
};

CSenderChannel& Channel() {
    // Never destroyed: threads may still send while the process exits.
    static CSenderChannel* channel = new CSenderChannel;
    return *channel;
}

// The longest piece of text that fits one message and does not end inside
// a UTF-8 sequence.
std::size_t PieceLength(std::string_view text) {
    if (text.size() <= kDebugTextBytes) return text.size();
    std::size_t n = kDebugTextBytes;
    while (n > kDebugTextBytes - 4 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
    return n;
}

}  // namespace

bool SendDebugString(std::string_view utf8) {
    // The zero ends a message, so text after an embedded zero would be lost.
    std::string cleaned;
    if (utf8.find('\0') != std::string_view::npos) {
        cleaned.assign(utf8);
        for (char& c : cleaned)
            if (c == '\0') c = ' ';
        utf8 = cleaned;
    }
    do {
        const std::size_t n = PieceLength(utf8);
        if (!Channel().Send(utf8.substr(0, n))) return false;
        utf8.remove_prefix(n);
    } while (!utf8.empty());
    return true;
}

}  // namespace platform

extern "C" void OutputDebugStringA(const char* text) {
    platform::SendDebugString(text ? std::string_view(text) : std::string_view());
}

extern "C" void OutputDebugStringW(const char16_t* text) {
    platform::SendDebugString(
        platform::Utf16ToUtf8(text ? std::u16string_view(text) : std::u16string_view()));
}
