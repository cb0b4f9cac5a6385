#pragma once
// An aiosmtpd server on 127.0.0.1 that stores every message it accepts, with
// its envelope, in a private folder.

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "InteropSupport.h"

namespace interop {

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct Received {
    std::string envelope;
    std::string content;
};

class SinkServer {
public:
    explicit SinkServer(std::vector<std::string> options) {
        std::vector<std::string> arguments = {interop::PythonProgram(),
                                              "-W",
                                              "ignore",
                                              interop::ScriptPath("smtp_sink.py"),
                                              "--folder",
                                              folder_.Path().string(),
                                              "--lifetime",
                                              "50"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        child_ = std::make_unique<ChildProcess>(arguments);
        if (const auto line = child_->ReadLine(15000)) port_ = std::stoul(*line);
    }
    std::uint32_t Port() const { return port_; }

    // The message the server stored as its number-th, waiting at most waitMs for it.
    // A refusal is known once the client has its reply, so checks of absence need no wait.
    std::optional<Received> Message(int number, int waitMs = 5000) const {
        const auto base = folder_.Path() / ("message" + std::to_string(number));
        for (int i = 0; i < waitMs / 25 && !std::filesystem::exists(base.string() + ".env"); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        }
        if (!std::filesystem::exists(base.string() + ".env")) return std::nullopt;
        return Received{ReadFile(base.string() + ".env"), ReadFile(base.string() + ".eml")};
    }

private:
    TempFolder folder_;
    std::unique_ptr<ChildProcess> child_;
    std::uint32_t port_ = 0;
};

}  // namespace interop
