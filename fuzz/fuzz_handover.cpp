// The bytes the running instance receives from a later start: the header's
// count is only taken within bounds, the arguments never hold more than the
// data, and they hand over again as the same list.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "FuzzCheck.h"
#include "platform/SingleInstance.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> message(data, size);
    const auto announced = platform::HandOverDataSize(message);
    if (announced) {
        FUZZ_CHECK(*announced <= platform::kMaxHandOverBytes && *announced % 2 == 0);
    }
    // The receiver reads the count it was told when the header passes, and
    // whatever follows otherwise, so the data reader sees every shape.
    const std::span<const std::uint8_t> rest = message.subspan(std::min<std::size_t>(8, size));
    const std::span<const std::uint8_t> body =
        announced && *announced <= rest.size() ? rest.first(*announced) : rest;

    const auto arguments = platform::ParseHandOverData(body);
    if (!arguments) return 0;
    std::size_t units = 0;
    for (const std::u16string& argument : *arguments) {
        FUZZ_CHECK(argument.find(u'\0') == std::u16string::npos);
        units += argument.size() + 1;
    }
    FUZZ_CHECK(units * 2 <= body.size());
    const auto again = platform::ParseHandOverData(platform::BuildHandOverData(*arguments));
    FUZZ_CHECK(again && *again == *arguments);

    const std::vector<std::uint8_t> sent = platform::BuildHandOverMessage(*arguments);
    const auto count = platform::HandOverDataSize(sent);
    FUZZ_CHECK(count && *count + 8 == sent.size());
    return 0;
}
