#include "settings/AppProfile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/RegistryPaths.h"
#include "settings/TempRegistry.h"

namespace app_test {
namespace {

using platform::RegKey;
using settings::AppProfile;
using settings::reg_paths::kProfileRecentFiles;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

using AppProfileTest = TempRegistryTest;

TEST_F(AppProfileTest, RecentFilesKeepTheirOrderUpToFifty) {
    EXPECT_THAT(AppProfile::LoadRecentFiles(), IsEmpty());

    std::vector<std::u16string> paths;
    for (int i = 1; i <= 60; ++i) paths.push_back(u"/log/" + std::u16string(i, u'r'));
    ASSERT_TRUE(AppProfile::SaveRecentFiles(paths));
    const auto read = AppProfile::LoadRecentFiles();
    ASSERT_EQ(read.size(), 50u);
    EXPECT_EQ(read, std::vector<std::u16string>(paths.begin(), paths.begin() + 50));

    ASSERT_TRUE(AppProfile::SaveRecentFiles({u"/a", u"", u"/b"}));
    EXPECT_THAT(AppProfile::LoadRecentFiles(), ElementsAre(u"/a", u"/b"));
    EXPECT_THAT(ValueNames(kProfileRecentFiles), ElementsAre(u"File1", u"File2"))
        << "older entries are gone and numbering has no gaps";
}

TEST_F(AppProfileTest, GapsAndEmptyEntriesInTheStoredListAreLeftOut) {
    RegKey key = CreateKey(kProfileRecentFiles);
    key.SetString(u"File1", u"/one");
    key.SetString(u"File2", u"");
    key.SetString(u"File4", u"/four");
    key.SetString(u"File50", u"/fifty");
    key.SetString(u"File51", u"/beyond");
    EXPECT_THAT(AppProfile::LoadRecentFiles(), ElementsAre(u"/one", u"/four", u"/fifty"));
}

TEST_F(AppProfileTest, ProfileNumbersHaveDefaultsAndLiveUnderTheirKeys) {
    EXPECT_EQ(AppProfile::PreviewPages(), 0u);
    EXPECT_TRUE(AppProfile::ShowQTour());
    EXPECT_EQ(AppProfile::QTourID(), 0u);

    ASSERT_TRUE(AppProfile::SetPreviewPages(2));
    ASSERT_TRUE(AppProfile::SetShowQTour(false));
    ASSERT_TRUE(AppProfile::SetQTourID(17));
    EXPECT_EQ(AppProfile::PreviewPages(), 2u);
    EXPECT_FALSE(AppProfile::ShowQTour());
    EXPECT_EQ(AppProfile::QTourID(), 17u);
    EXPECT_THAT(ValueNames(u"Software\\Ostra Works\\Ostra Tarvik\\Settings"),
                ElementsAre(u"PreviewPages"));
    EXPECT_THAT(ValueNames(u"Software\\Ostra Works\\Ostra Tarvik\\Options"),
                ElementsAre(u"QTourID", u"ShowQTour"));

    RegKey options = CreateKey(u"Software\\Ostra Works\\Ostra Tarvik\\Options");
    options.SetString(u"ShowQTour", u"0");
    EXPECT_TRUE(AppProfile::ShowQTour()) << "a text is not a number";
}

}  // namespace
}  // namespace app_test
