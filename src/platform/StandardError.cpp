#include "platform/StandardError.h"

#include <cstdio>
#include <mutex>

namespace platform {

void WriteStandardError(std::string_view text) {
    static std::mutex mutex;
    std::lock_guard lock(mutex);
    std::fwrite(text.data(), 1, text.size(), stderr);
    if (text.empty() || text.back() != '\n') std::fputc('\n', stderr);
    std::fflush(stderr);
}

}  // namespace platform
