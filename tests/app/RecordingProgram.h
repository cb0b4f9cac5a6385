#pragma once
// A real program for tests of what starts other programs: a script that
// writes the arguments it was given, each followed by '|', into a pipe. The
// test reads the pipe to its end, so it waits for the program without a clock.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace app_test {

class RecordingProgram {
public:
    // The script is named name (blanks allowed) in a fresh folder.
    explicit RecordingProgram(const std::string& name) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tarvik-program-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) return;
        folder_ = pattern;
        pipe_ = folder_ / "arguments";
        if (mkfifo(pipe_.c_str(), 0600) != 0) return;
        program_ = folder_ / name;
        std::ofstream(program_) << "#!/bin/sh\nprintf '%s|' \"$@\" > '" << pipe_.string() << "'\n";
        std::filesystem::permissions(program_, std::filesystem::perms::owner_all);
    }
    ~RecordingProgram() {
        std::error_code ignored;
        if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
    }
    RecordingProgram(const RecordingProgram&) = delete;
    RecordingProgram& operator=(const RecordingProgram&) = delete;

    bool IsValid() const { return !program_.empty(); }
    const std::filesystem::path& Path() const { return program_; }
    const std::filesystem::path& Folder() const { return folder_; }

    // Blocks until the program has run and returns what it was given.
    std::string ReadArguments() const {
        const int fd = open(pipe_.c_str(), O_RDONLY);
        if (fd < 0) return {};
        std::string received;
        char buffer[512];
        for (ssize_t got; (got = read(fd, buffer, sizeof buffer)) > 0;) {
            received.append(buffer, static_cast<std::size_t>(got));
        }
        close(fd);
        return received;
    }

private:
    std::filesystem::path folder_;
    std::filesystem::path pipe_;
    std::filesystem::path program_;
};

}  // namespace app_test
