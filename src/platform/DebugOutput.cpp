#include "platform/DebugOutput.h"

#include <string>

#include "platform/CodePage.h"
#include "platform/DebugChannelSender.h"
#include "platform/StandardError.h"

namespace platform {

void OutputDebugStringA(std::string_view text) {
    WriteStandardError(text);
    SendDebugString(text);
}

void OutputDebugStringW(std::u16string_view text) {
    OutputDebugStringA(Utf16ToUtf8(text));
}

}  // namespace platform
