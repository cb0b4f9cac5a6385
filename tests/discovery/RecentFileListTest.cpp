#include "discovery/RecentFileList.h"

#include <gtest/gtest.h>

#include "settings/AppProfile.h"
#include "settings/TempRegistry.h"

namespace {

using discovery::CRecentFileList;
using discovery::RecentDisplayName;
using Paths = std::vector<std::u16string>;

std::u16string Numbered(int number) {
    const std::string text = "/logs/f" + std::to_string(number) + ".log";
    return {text.begin(), text.end()};
}

TEST(RecentFileList, AddMovesToFrontAndCaseTellsFilesApart) {
    CRecentFileList list;
    list.Add(u"/logs/A.log");
    list.Add(u"/logs/b.log");
    list.Add(u"/logs/a.log");
    list.Add(u"/logs/A.log");
    list.Add(u"");
    EXPECT_EQ(list.Entries(), (Paths{u"/logs/A.log", u"/logs/a.log", u"/logs/b.log"}));
}

TEST(RecentFileList, KeepsTheNewestFifty) {
    CRecentFileList list;
    for (int i = 1; i <= 55; ++i) list.Add(Numbered(i));
    ASSERT_EQ(list.Size(), CRecentFileList::kCapacity);
    EXPECT_EQ(list.Entries().front(), Numbered(55));
    EXPECT_EQ(list.Entries().back(), Numbered(6));
}

TEST(RecentFileList, RemoveTakesTheFirstEqualEntryOrTheIndex) {
    CRecentFileList list;
    list.Add(u"/c");
    list.Add(u"/b");
    list.Add(u"/a");
    EXPECT_FALSE(list.Remove(u"/B"));
    EXPECT_TRUE(list.Remove(u"/b"));
    EXPECT_FALSE(list.Remove(u"/missing"));
    list.RemoveAt(0);
    list.RemoveAt(7);
    EXPECT_EQ(list.Entries(), Paths{u"/c"});
}

TEST(RecentFileList, MenuShowsTenNumberedOneToNineThenZero) {
    CRecentFileList list;
    for (int i = 12; i >= 1; --i) list.Add(Numbered(i));
    const Paths texts = list.MenuTexts(u"/home/user");
    ASSERT_EQ(texts.size(), CRecentFileList::kMenuEntries);
    EXPECT_EQ(texts[0], u"&1 /logs/f1.log");
    EXPECT_EQ(texts[8], u"&9 /logs/f9.log");
    EXPECT_EQ(texts[9], u"&0 /logs/f10.log");
    EXPECT_TRUE(CRecentFileList().MenuTexts(u"/").empty());
}

TEST(RecentFileList, MenuDoublesAmpersandsAndShowsPathsRelativeToTheCurrentFolder) {
    CRecentFileList list;
    list.Add(u"/srv/R&D/a&b.log");
    list.Add(u"/srv/R&Dx/c.log");
    EXPECT_EQ(list.MenuTexts(u"/srv/R&D"), (Paths{u"&1 /srv/R&&Dx/c.log", u"&2 a&&b.log"}));
    EXPECT_EQ(list.MenuTexts(u"/srv/"), (Paths{u"&1 R&&Dx/c.log", u"&2 R&&D/a&&b.log"}));
}

TEST(RecentFileList, LongNamesAreShortenedToThirtyCharactersKeepingTheFileName) {
    const std::u16string path = u"/var/log/applications/server/nightly/run.log";
    const std::u16string shown = RecentDisplayName(path, u"/home/user");
    EXPECT_EQ(shown, u"/.../server/nightly/run.log");
    EXPECT_LE(shown.size(), CRecentFileList::kMaxDisplayLength);

    const std::u16string longName(40, u'x');
    const std::u16string shortened = RecentDisplayName(u"/tmp/" + longName, u"/home");
    EXPECT_EQ(shortened, std::u16string(27, u'x') + u"...");
    const std::u16string nearlyLong = std::u16string(24, u'y') + u".log";
    EXPECT_EQ(RecentDisplayName(u"/some/folder/" + nearlyLong, u"/"), nearlyLong);
}

TEST(RecentFileList, ShortenedNameOfARelativePathHasNoLeadingSlash) {
    const std::u16string shown =
        RecentDisplayName(u"/home/u/projects/alpha/beta/gamma/out.log", u"/home/u");
    EXPECT_EQ(shown, u".../alpha/beta/gamma/out.log");
}

class RecentFileListStore : public app_test::TempRegistryTest {};

TEST_F(RecentFileListStore, SavedListLoadsBackInOrder) {
    CRecentFileList list;
    list.Add(u"/b.log");
    list.Add(u"/a.log");
    ASSERT_TRUE(list.Save());
    EXPECT_EQ(settings::AppProfile::LoadRecentFiles(), (Paths{u"/a.log", u"/b.log"}));
    CRecentFileList loaded;
    loaded.Load();
    EXPECT_EQ(loaded.Entries(), (Paths{u"/a.log", u"/b.log"}));
}

TEST_F(RecentFileListStore, LoadingDropsDuplicatesWrittenByHand) {
    ASSERT_TRUE(
        settings::AppProfile::SaveRecentFiles({u"/x.log", u"/X.LOG", u"/y.log", u"/x.log"}));
    CRecentFileList loaded;
    loaded.Load();
    EXPECT_EQ(loaded.Entries(), (Paths{u"/x.log", u"/X.LOG", u"/y.log"}));
}

}  // namespace
