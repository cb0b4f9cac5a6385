#pragma once
// tarvik-tail --actions following one file with the settings store of a test
// folder, its standard error read with its output.

#include <filesystem>
#include <string>

#include "InteropSupport.h"

namespace interop {

class TailFollower {
public:
    TailFollower(const std::filesystem::path& folder, const std::filesystem::path& log)
        : store_("TARVIK_REGISTRY", (folder / "registry.db").string()),
          tail_({std::string(TARVIK_TOOLS_DIR) + "/tarvik-tail", "--actions", "--color", "never",
                 "--interval", "50", "--duration", "60", log.string()},
                false, true) {}
    // Waits for a line of the follower's output that contains text.
    bool AwaitLine(const std::string& text) {
        for (auto line = tail_.ReadLine(20000); line; line = tail_.ReadLine(20000)) {
            if (line->find(text) != std::string::npos) return true;
        }
        return false;
    }

private:
    ScopedEnvironment store_;
    ChildProcess tail_;
};

}  // namespace interop
