#include "platform/DebugChannelSender.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <mutex>
#include <span>
#include <string>

#include "platform/CodePage.h"
#include "platform/DebugChannel.h"
#include "platform/NamedSemaphore.h"
#include "platform/PrivateObject.h"
#include "platform/SharedObjectLock.h"

namespace platform {

namespace {

// The channel as this process last found it. Kept open between messages so
// a flood costs no opening per message; dropped when the monitor went.
// Only objects private to this user are used: a message never goes into
// objects another user planted under the channel's names.
class CSenderChannel {
public:
    bool Send(std::string_view text) {
        std::lock_guard lock(mutex_);
        if (!Attach()) return false;
        if (bufferReady_.WaitFor(kDebugSendWaitMs) != SemaphoreWait::Taken) {
            // A monitor that does not answer: the next message looks again.
            Detach();
            return false;
        }
        WriteDebugMessage(std::span<unsigned char, kDebugBufferBytes>(map_, kDebugBufferBytes),
                          static_cast<std::uint32_t>(getpid()), text);
        dataReady_.Post();
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
        if (bufferReady_.Open(names_.bufferReady) && dataReady_.Open(names_.dataReady)) {
            bufferFd_ = shm_open(names_.buffer.c_str(), O_RDWR | O_CLOEXEC, 0);
            struct stat st {};
            // A monitor that has not sized its buffer yet has not posted
            // "buffer ready" either.
            if (bufferFd_ >= 0 && fstat(bufferFd_, &st) == 0 && IsPrivateToUser(st) &&
                st.st_size >= static_cast<off_t>(kDebugBufferBytes)) {
                void* map = mmap(nullptr, kDebugBufferBytes, PROT_READ | PROT_WRITE, MAP_SHARED,
                                 bufferFd_, 0);
                if (map != MAP_FAILED) {
                    map_ = static_cast<unsigned char*>(map);
                    return true;
                }
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
        bufferReady_.Close();
        dataReady_.Close();
    }

    std::mutex mutex_;
    DebugChannelNames names_ = DebugChannelNamesForUser();
    CNamedSemaphore bufferReady_;
    CNamedSemaphore dataReady_;
    int bufferFd_ = -1;
    unsigned char* map_ = nullptr;
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
