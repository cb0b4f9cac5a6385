#include "platform/DebugOutput.h"

#include <cstdio>
#include <mutex>
#include <string>

#include "platform/CodePage.h"
#include "platform/DebugChannelSender.h"

namespace platform {

void OutputDebugStringA(std::string_view text) {
    {
        static std::mutex mutex;
        std::lock_guard lock(mutex);
        std::fwrite(text.data(), 1, text.size(), stderr);
        if (text.empty() || text.back() != '\n') std::fputc('\n', stderr);
        std::fflush(stderr);
    }
    SendDebugString(text);
}

void OutputDebugStringW(std::u16string_view text) {
    OutputDebugStringA(Utf16ToUtf8(text));
}

}  // namespace platform
