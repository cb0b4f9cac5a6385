#pragma once
// The log writer of the following tests, running as a second process
// (tools/tarvik-testwriter in script mode): each command is one line, and the
// call returns once the writer answered, so the file has changed for real
// before the test polls.

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace follow_test {

class WriterProcess {
public:
    WriterProcess();
    ~WriterProcess();
    WriterProcess(const WriterProcess&) = delete;
    WriterProcess& operator=(const WriterProcess&) = delete;

    bool IsRunning() const { return pid_ > 0; }
    // The writer's answer to one script line: empty on success, else the reason.
    std::string Run(std::string_view line);

    std::string AppendBytes(const std::string& path, std::string_view bytes);
    std::string AppendUnits(const std::string& path, std::u16string_view units);
    std::string OverwriteNulsWithUnits(const std::string& path, std::u16string_view units);

    static std::string ProgramPath();

private:
    bool ReadAnswer(std::string& answer);

    pid_t pid_ = -1;
    int toWriter_ = -1;
    int fromWriter_ = -1;
    std::string pending_;
};

// Escapes for the writer's command lines: every byte as \xHH, every UTF-16
// unit as \uHHHH; EscapeText keeps UTF-8 text as it is but for control
// characters and backslashes, so that it can be written in either encoding.
std::string EscapeBytes(std::string_view bytes);
std::string EscapeText(std::string_view utf8);
std::string EscapeUnits(std::u16string_view units);

}  // namespace follow_test
