// The debug-output channel's shared buffer as another program left it: any
// bytes (a shorter input is the start of the buffer, the rest zero). The
// message read stays inside the buffer and holds no zero; what a sender can
// carry comes back unchanged when written and read again; and the capture
// turns any bytes into text of bounded length.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "FuzzCheck.h"
#include "capture/CaptureChunks.h"
#include "platform/DebugChannel.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using platform::kDebugBufferBytes;
    using platform::kDebugTextOffset;
    std::array<unsigned char, kDebugBufferBytes> buffer{};
    std::memcpy(buffer.data(), data, std::min(size, buffer.size()));
    const platform::DebugMessage message = platform::ReadDebugMessage(buffer);
    const char* const textStart = reinterpret_cast<const char*>(buffer.data()) + kDebugTextOffset;
    FUZZ_CHECK(message.text.data() == textStart);
    FUZZ_CHECK(message.text.size() <= kDebugBufferBytes - kDebugTextOffset);
    FUZZ_CHECK(message.text.find('\0') == std::string_view::npos);
    const std::size_t end = kDebugTextOffset + message.text.size();
    FUZZ_CHECK(end == kDebugBufferBytes || buffer[end] == 0);

    const std::string_view carried = message.text.substr(0, platform::kDebugTextBytes);
    std::array<unsigned char, kDebugBufferBytes> again{};
    platform::WriteDebugMessage(again, message.processId, carried);
    const platform::DebugMessage reread = platform::ReadDebugMessage(again);
    FUZZ_CHECK(reread.processId == message.processId && reread.text == carried);

    capture::CCaptureChunks chunks;
    chunks.Deliver(message.text, message.processId, {}, 0);
    std::size_t units = 0;
    chunks.Drain([&](char16_t*, std::size_t length, const capture::CCaptureChunks::OwnSpans&) {
        units += length;
    });
    FUZZ_CHECK(units > 0 || message.text.empty());
    FUZZ_CHECK(units <= message.text.size() + capture::CCaptureChunks::kRoomPerMessage);
    return 0;
}
