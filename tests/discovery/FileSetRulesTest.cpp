#include "discovery/FileSetRules.h"

#include <gtest/gtest.h>

namespace {

using discovery::FileSetProblem;
using discovery::FirstFileSetProblem;
using Sets = std::vector<settings::FileSet>;

TEST(FileSetRules, FirstProblemInListOrderNamesTheSetToSelect) {
    EXPECT_EQ(FirstFileSetProblem({{u"Web", {u"/a"}}, {u"Mail", {}}}), std::nullopt);
    EXPECT_EQ(FirstFileSetProblem({{u"Web", {}}, {u"", {}}, {u"x\\", {}}}),
              (FileSetProblem{1, u"Please enter a set name"}));
    EXPECT_EQ(FirstFileSetProblem({{u"Web", {}}, {u"Logs\\", {}}, {u"", {}}}),
              (FileSetProblem{1, u"Backslash (\\) isn't allowed in set name. Please remove it."}));
    // The earlier of two names equal but for case is the one named and selected.
    EXPECT_EQ(FirstFileSetProblem({{u"Web", {}}, {u"Logs", {}}, {u"x", {}}, {u"logs", {}}}),
              (FileSetProblem{1, u"There's a duplicate record of set \"Logs\""}));
    // Only A-Z fold: these are two names.
    EXPECT_EQ(FirstFileSetProblem({{u"\u00C4", {}}, {u"\u00E4", {}}}), std::nullopt);
}

TEST(FileSetRules, AddingMembersSkipsExactDuplicatesOnly) {
    settings::FileSet set{u"s", {u"/var/a.log"}};
    EXPECT_EQ(discovery::AddFileSetMembers(
                  set, {u"/var/a.log", u"/var/A.log", u"/var/b.log", u"/var/b.log"}),
              2u);
    EXPECT_EQ(set.paths,
              (std::vector<std::u16string>{u"/var/a.log", u"/var/A.log", u"/var/b.log"}));
}

}  // namespace
