// A process that starts the way the application does with respect to other
// instances, for tests that need two real processes:
//   tarvik-instance-probe FOLDER EXPECTED [ARGUMENT...]
// A later start prints "handed over" (or "further") and ends. The first start
// prints "first", then one line "got [a][b]..." per hand-over received, and ends
// after EXPECTED hand-overs (exit 0) or after 20 seconds without them (exit 1).

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "platform/SingleInstance.h"
#include "platform/TaskQueue.h"

namespace {

constexpr auto kPatience = std::chrono::seconds(20);
constexpr const char* kMutexName = "OSTRATARVIK_D04109C4_D08E_43F4_BA5E_2922BCA44B62_ANSI";

void PrintHandOver(const std::vector<std::u16string>& arguments) {
    std::string line = "got ";
    for (const std::u16string& argument : arguments) {
        line += "[" + platform::Utf16ToUtf8(argument) + "]";
    }
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: tarvik-instance-probe FOLDER EXPECTED [ARGUMENT...]\n");
        return 2;
    }
    const int expected = std::atoi(argv[2]);
    std::vector<std::u16string> arguments;
    for (int i = 3; i < argc; ++i) arguments.push_back(platform::Utf8ToUtf16(argv[i]));

    platform::TaskQueue queue;
    int received = 0;
    platform::CSingleInstance instance(kMutexName, argv[1]);
    const platform::InstanceStart start =
        instance.Start(true, arguments, queue, [&received](std::vector<std::u16string> got) {
            PrintHandOver(got);
            ++received;
        });
    if (start == platform::InstanceStart::HandedOver) {
        std::printf("handed over\n");
        return 0;
    }
    if (start == platform::InstanceStart::Further) {
        std::printf("further\n");
        return 0;
    }
    std::printf("first\n");
    std::fflush(stdout);
    const auto giveUp = std::chrono::steady_clock::now() + kPatience;
    while (received < expected && std::chrono::steady_clock::now() < giveUp) {
        queue.WaitAndDrain(100);
    }
    return received >= expected ? 0 : 1;
}
