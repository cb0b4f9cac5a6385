#include "filters/HighlightFilterTakeOver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "filters/HighlightTestFilters.h"

namespace filters {
namespace {

using highlight_test::Filter;
using highlight_test::Kind;

HighlightFilter Mailer(std::u16string_view phrase) {
    HighlightFilter filter = Filter(phrase, 1);
    filter.SendEmail = true;
    filter.SendFirstOccured = true;
    return filter;
}

class HighlightFilterTakeOverTest : public ::testing::Test {
protected:
    void SetUp() override {
        filters_.Replace({Mailer(u"disk"), Mailer(u"cpu"), Mailer(u"net"), Filter(u"plain", 2)});
        for (std::size_t i = 0; i < 3; ++i) filters_.ClaimFirstOccurrence(i, &documentA_);
    }

    void TakeOver(std::vector<HighlightFilterEdit> rows) {
        TakeOverHighlightFilters(filters_, std::move(rows), [&](std::u16string_view phrase) {
            released_.emplace_back(phrase);
        });
    }

    bool Notified(std::size_t index, DocumentRef document) const {
        const auto& set = filters_.Items().at(index).notifiedDocuments;
        return set && set->count(document) > 0;
    }

    CHighlightFilters filters_;
    std::vector<std::u16string> released_;
    const int documentA_ = 0;
    const int documentB_ = 0;
};

TEST_F(HighlightFilterTakeOverTest, UnchangedFiltersKeepTheirSetsIncludingLaterNotifications) {
    std::vector<HighlightFilterEdit> rows = MakeHighlightFilterEdits(filters_);
    // Notified while the dialog was open: the live set counts, not the copy.
    filters_.ClaimFirstOccurrence(1, &documentB_);
    rows[2].filter.TextColor = 0x00ABCDEF;  // colours alone do not mark a filter modified
    std::swap(rows[0], rows[1]);

    TakeOver(std::move(rows));
    ASSERT_EQ(filters_.Size(), 4u);
    EXPECT_EQ(filters_.Items()[0].phrase.text, u"cpu");
    EXPECT_TRUE(Notified(0, &documentA_) && Notified(0, &documentB_));
    EXPECT_TRUE(Notified(1, &documentA_));
    EXPECT_EQ(filters_.Items()[2].TextColor, 0x00ABCDEFu);
    EXPECT_TRUE(Notified(2, &documentA_));
    EXPECT_TRUE(released_.empty());
}

TEST_F(HighlightFilterTakeOverTest, ModifiedFiltersReleaseTheirOldPhraseAndStartAfresh) {
    std::vector<HighlightFilterEdit> rows = MakeHighlightFilterEdits(filters_);
    rows[0].filter.phrase.text = u"disk full";
    rows[0].changeMark = HighlightChangeMark::Modified;
    rows[1].filter.SendFirstOccured = false;
    rows[1].changeMark = HighlightChangeMark::Modified;
    rows[3].filter.phrase.Assign(u"pl.in", true, true);
    rows[3].changeMark = HighlightChangeMark::Modified;

    TakeOver(std::move(rows));
    EXPECT_EQ(released_, (std::vector<std::u16string>{u"disk", u"cpu"}));
    const auto& items = filters_.Items();
    ASSERT_TRUE(items[0].notifiedDocuments.has_value());
    EXPECT_TRUE(items[0].notifiedDocuments->empty());
    EXPECT_EQ(items[0].phrase.foldedText, u"disk full");
    EXPECT_FALSE(items[1].notifiedDocuments.has_value());
    EXPECT_TRUE(MatchPhrase(items[3].phrase, u"plain"));
}

TEST_F(HighlightFilterTakeOverTest, ModifiedFiltersWithNothingNotifiedReleaseNothing) {
    filters_.ForgetDocument(&documentA_);
    std::vector<HighlightFilterEdit> rows = MakeHighlightFilterEdits(filters_);
    rows[0].changeMark = HighlightChangeMark::Modified;
    rows[2].changeMark = HighlightChangeMark::Removed;
    TakeOver(std::move(rows));
    EXPECT_TRUE(released_.empty());
    EXPECT_EQ(filters_.Size(), 3u);
}

TEST_F(HighlightFilterTakeOverTest, RemovedFiltersReleaseAndNewFiltersGetSetsByTheRule) {
    std::vector<HighlightFilterEdit> rows = MakeHighlightFilterEdits(filters_);
    rows[2].changeMark = HighlightChangeMark::Removed;
    rows[3].changeMark = HighlightChangeMark::Removed;
    HighlightFilterEdit added{Mailer(u"Fresh"), HighlightChangeMark::New, u"", std::nullopt};
    added.filter.notifiedDocuments = DocumentRefSet{&documentB_};  // never carried over
    rows.push_back(added);
    HighlightFilterEdit shown{Filter(u"x", 3), HighlightChangeMark::New, u"", std::nullopt};
    shown.filter.ReplaceWith = true;
    shown.filter.ReplaceText = u"y";
    rows.push_back(shown);

    TakeOver(std::move(rows));
    EXPECT_EQ(released_, (std::vector<std::u16string>{u"net"}));
    ASSERT_EQ(filters_.Size(), 4u);
    EXPECT_EQ(filters_.Items()[2].phrase.text, u"Fresh");
    EXPECT_EQ(filters_.Items()[2].phrase.foldedText, u"fresh");
    ASSERT_TRUE(filters_.Items()[2].notifiedDocuments.has_value());
    EXPECT_TRUE(filters_.Items()[2].notifiedDocuments->empty());
    EXPECT_TRUE(filters_.AnyShowAs() && filters_.AnySendEmail());
    EXPECT_FALSE(filters_.AnyPrint());
}

TEST_F(HighlightFilterTakeOverTest, ReleaseMayBeLeftOut) {
    std::vector<HighlightFilterEdit> rows = MakeHighlightFilterEdits(filters_);
    rows[0].changeMark = HighlightChangeMark::Removed;
    TakeOverHighlightFilters(filters_, std::move(rows), {});
    EXPECT_EQ(filters_.Size(), 3u);
}

TEST(HighlightOptionsTakeOver, LineBackgroundChangesOnlyWhileHighlightLineIsOn) {
    HighlightOptions current;
    HighlightOptions edited;
    edited.HLLineBkgColor = 0x00123456;
    edited.FillLineBlankInBkgColor = true;
    edited.IgnoreReplaceTextForGotoHFilter = true;
    edited.RemoveAllFiltersBeforeImport = true;
    EXPECT_EQ(TakeOverHighlightOptions(current, edited), edited);

    edited.HighlightLine = false;
    const HighlightOptions taken = TakeOverHighlightOptions(current, edited);
    EXPECT_FALSE(taken.HighlightLine);
    EXPECT_EQ(taken.HLLineBkgColor, current.HLLineBkgColor);
    EXPECT_TRUE(taken.FillLineBlankInBkgColor && taken.RemoveAllFiltersBeforeImport);
}

}  // namespace
}  // namespace filters
