#pragma once
// Each test gets a store of its own in a fresh temporary file.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/Registry.h"

namespace app_test {

// The names of all values under a key, as stored (empty if the key is missing).
inline std::vector<std::u16string> ValueNames(std::u16string_view path) {
    std::vector<std::u16string> names;
    platform::RegKey key;
    if (key.Open(platform::RegRoot::CurrentUser, path) != platform::ERROR_SUCCESS) {
        return names;
    }
    std::u16string name;
    for (platform::DWORD i = 0; key.EnumValue(i, name) == platform::ERROR_SUCCESS; ++i) {
        names.push_back(name);
    }
    return names;
}

inline platform::RegKey CreateKey(std::u16string_view path) {
    platform::RegKey key;
    EXPECT_EQ(key.Create(platform::RegRoot::CurrentUser, path), platform::ERROR_SUCCESS);
    return key;
}

inline bool KeyExists(std::u16string_view path) {
    platform::RegKey key;
    return key.Open(platform::RegRoot::CurrentUser, path) == platform::ERROR_SUCCESS;
}

class TempRegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tarvik-app-test-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        platform::registry_store::UsePath((dir_ / "registry.db").string());
    }

    void TearDown() override {
        // The store is left pointing at a file that is removed with its folder;
        // the next test switches away from it.
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }

private:
    std::filesystem::path dir_;
};

}  // namespace app_test
