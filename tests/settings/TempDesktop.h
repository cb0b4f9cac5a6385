#pragma once
// The desktop's per-user configuration (default applications, desktop
// entries) moved to a temporary folder for the lifetime of the object, so a
// test never changes the real user's choices; xdg-mime and the program both
// follow XDG_CONFIG_HOME and XDG_DATA_HOME.

#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace app_test {

class TempDesktop {
public:
    TempDesktop() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tarvik-desktop-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) root_ = pattern;
        for (const char* name : kNames) {
            const char* value = getenv(name);
            saved_.emplace_back(value ? std::optional<std::string>(value) : std::nullopt);
        }
        setenv("XDG_CONFIG_HOME", (root_ / "config").c_str(), 1);
        setenv("XDG_DATA_HOME", (root_ / "data").c_str(), 1);
        // The desktop's own lists would otherwise be read first.
        unsetenv("XDG_CURRENT_DESKTOP");
        std::filesystem::create_directories(root_ / "config");
        std::filesystem::create_directories(Applications());
    }
    ~TempDesktop() {
        for (std::size_t i = 0; i < saved_.size(); ++i) {
            if (saved_[i]) {
                setenv(kNames[i], saved_[i]->c_str(), 1);
            } else {
                unsetenv(kNames[i]);
            }
        }
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    TempDesktop(const TempDesktop&) = delete;
    TempDesktop& operator=(const TempDesktop&) = delete;

    bool IsValid() const { return !root_.empty(); }
    std::filesystem::path Applications() const { return root_ / "data" / "applications"; }
    std::filesystem::path MimeAppsList() const { return root_ / "config" / "mimeapps.list"; }

private:
    static constexpr const char* kNames[] = {"XDG_CONFIG_HOME", "XDG_DATA_HOME",
                                             "XDG_CURRENT_DESKTOP"};
    std::filesystem::path root_;
    std::vector<std::optional<std::string>> saved_;
};

}  // namespace app_test
