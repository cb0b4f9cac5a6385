#include "filters/HighlightFilters.h"

#include <gtest/gtest.h>

#include "filters/HighlightTestFilters.h"

namespace filters {
namespace {

using highlight_test::Filter;

HighlightFilter FirstOccurrenceMailer(std::u16string_view phrase) {
    HighlightFilter filter = Filter(phrase, 1);
    filter.SendEmail = true;
    filter.SendFirstOccured = true;
    return filter;
}

TEST(HighlightFilters, DerivedFlagsComeFromEnabledFiltersOnly) {
    HighlightFilter mail = Filter(u"a", 1);
    mail.SendEmail = true;
    HighlightFilter write = Filter(u"b", 1);
    write.WriteFile = true;
    write.Enable = false;
    HighlightFilter print = Filter(u"c", 1);
    print.PrintLineToDefaultPrinter = true;
    HighlightFilter execute = Filter(u"d", 1);
    execute.ExecuteProgram = true;
    execute.Enable = false;
    HighlightFilter showAs = Filter(u"e", 1);
    showAs.ReplaceWith = true;

    CHighlightFilters filters;
    filters.Replace({mail, write, print, execute, showAs});
    EXPECT_TRUE(filters.AnySendEmail());
    EXPECT_FALSE(filters.AnyWriteFile());
    EXPECT_TRUE(filters.AnyPrint());
    EXPECT_FALSE(filters.AnyExecute());
    EXPECT_TRUE(filters.AnyShowAs());

    filters.Replace({write, execute});
    EXPECT_FALSE(filters.AnySendEmail() || filters.AnyWriteFile() || filters.AnyPrint() ||
                 filters.AnyExecute() || filters.AnyShowAs() || filters.AnyAction());
    filters.Append(mail);
    EXPECT_TRUE(filters.AnyAction());
}

TEST(HighlightFilters, FirstOccurrenceSetsExistExactlyWhenAllThreeSwitchesAreOn) {
    HighlightFilter noFirst = FirstOccurrenceMailer(u"a");
    noFirst.SendFirstOccured = false;
    HighlightFilter disabled = FirstOccurrenceMailer(u"b");
    disabled.Enable = false;
    HighlightFilter stale = Filter(u"c", 1);
    stale.notifiedDocuments.emplace();

    CHighlightFilters filters;
    filters.Replace({FirstOccurrenceMailer(u"x"), noFirst, disabled, stale});
    EXPECT_TRUE(filters.Items()[0].notifiedDocuments.has_value());
    EXPECT_FALSE(filters.Items()[1].notifiedDocuments.has_value());
    EXPECT_FALSE(filters.Items()[2].notifiedDocuments.has_value());
    EXPECT_FALSE(filters.Items()[3].notifiedDocuments.has_value());
}

TEST(HighlightFilters, EachDocumentIsNotifiedOnceUntilReleasedOrClosed) {
    CHighlightFilters filters;
    filters.Replace(
        {FirstOccurrenceMailer(u"disk"), Filter(u"cpu", 1), FirstOccurrenceMailer(u"disk")});
    const int documentA = 0;
    const int documentB = 0;
    const DocumentRef a = &documentA;
    const DocumentRef b = &documentB;

    EXPECT_TRUE(filters.ClaimFirstOccurrence(0, a));
    EXPECT_FALSE(filters.ClaimFirstOccurrence(0, a));
    EXPECT_TRUE(filters.ClaimFirstOccurrence(0, b));
    EXPECT_TRUE(filters.ClaimFirstOccurrence(2, a));
    // A filter without a set always sends; an index out of range never does.
    EXPECT_TRUE(filters.ClaimFirstOccurrence(1, a));
    EXPECT_TRUE(filters.ClaimFirstOccurrence(1, a));
    EXPECT_FALSE(filters.ClaimFirstOccurrence(7, a));

    // Confirmation frees only the first filter with exactly that text.
    filters.ReleaseDocument(u"disk", a);
    EXPECT_TRUE(filters.ClaimFirstOccurrence(0, a));
    EXPECT_FALSE(filters.ClaimFirstOccurrence(2, a));
    filters.ReleaseDocument(u"DISK", b);
    EXPECT_FALSE(filters.ClaimFirstOccurrence(0, b));

    filters.ForgetDocument(a);
    EXPECT_TRUE(filters.ClaimFirstOccurrence(0, a));
    EXPECT_TRUE(filters.ClaimFirstOccurrence(2, a));
    EXPECT_FALSE(filters.ClaimFirstOccurrence(0, b));
}

}  // namespace
}  // namespace filters
