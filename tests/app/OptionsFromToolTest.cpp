// A value set with the store's command line is what the program loads.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/TarvikApp.h"
#include "platform/Registry.h"
#include "settings/TempRegistry.h"

namespace {

class OptionsFromToolTest : public app_test::TempRegistryTest {};

int RunTool(const std::string& arguments) {
    const std::string command = "TARVIK_REGISTRY='" + platform::registry_store::CurrentPath() +
                                "' '" TARVIK_TOOLS_DIR "/tarvik-reg' " + arguments +
                                " >/dev/null 2>&1";
    return std::system(command.c_str());
}

TEST_F(OptionsFromToolTest, MaxBufSizSetByTarvikRegIsLoaded) {
    // The store must exist before the tool opens it, as it would for a user.
    app::CTarvikApp before;
    bool maximized = true;
    settings::WindowRect rect;
    ASSERT_TRUE(before.LoadOptions(maximized, rect));
    ASSERT_EQ(before.GetOptions().MaxBufSiz, 20971520u);

    ASSERT_EQ(RunTool("add 'HKCU\\Software\\Ostra Tarvik\\Options' /v MaxBufSiz /t REG_DWORD "
                      "/d 0x2800000 /f"),
              0);
    ASSERT_EQ(RunTool("add 'HKCU\\Software\\Ostra Tarvik\\Options' /v TabSize /t REG_DWORD "
                      "/d 65 /f"),
              0);

    app::CTarvikApp app;
    ASSERT_TRUE(app.LoadOptions(maximized, rect));
    EXPECT_EQ(app.GetOptions().MaxBufSiz, 0x2800000u);
    // The load checks apply to values written from outside as well.
    EXPECT_EQ(app.GetOptions().TabSize, 4);
}

}  // namespace
