#pragma once
// What the capture thread reads of the options and the document while it
// runs. The user-interface thread writes these, the capture thread reads
// them without a lock; a change takes effect with the next message.

#include <atomic>
#include <cstdint>

namespace capture {

struct CaptureSettings {
    std::atomic<bool> monitoring{false};
    std::atomic<bool> sequenceNumber{true};
    std::atomic<bool> processId{true};
    std::atomic<bool> timestamp{true};
    std::atomic<bool> allProcesses{true};
    std::atomic<std::uint32_t> onlyProcessId{0};
};

}  // namespace capture
