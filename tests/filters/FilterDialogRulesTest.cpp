// The rules behind the two filter dialogs that do not need a widget: the
// rows of the include/exclude dialog and their checks, the checks of the
// highlight dialog in their order, and which edits mark a highlight filter
// modified or ask for every document to be read again.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "filters/HighlightEditMarks.h"
#include "filters/HighlightFilterValidation.h"
#include "filters/HighlightTestFilters.h"
#include "filters/InExFilterRows.h"
#include "platform/CodePage.h"

namespace filters {
namespace {

using highlight_test::Filter;
using highlight_test::ShowAs;

InExFilter InEx(std::u16string_view text, bool enable, bool matchCase, bool expression) {
    InExFilter filter;
    filter.phrase.text = text;
    filter.phrase.matchCase = matchCase;
    filter.phrase.regularExpression = expression;
    filter.Enable = enable;
    return filter;
}

TEST(InExFilterRowsTest, IncludeRowsComeFirstAndGoBackToTheirListsInRowOrder) {
    CInExFilters filters;
    filters.Replace({InEx(u"inc1", true, false, false), InEx(u"inc2", false, true, false)},
                    {InEx(u"exc1", true, false, true)});
    std::vector<InExFilterRow> rows = MakeInExFilterRows(filters);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].text, u"inc1");
    EXPECT_TRUE(rows[0].include);
    EXPECT_FALSE(rows[1].enable);
    EXPECT_TRUE(rows[1].matchCase);
    EXPECT_FALSE(rows[2].include);
    EXPECT_TRUE(rows[2].regularExpression);

    // Rows moved between the types and reordered keep their display order
    // within each list.
    rows[0].include = false;
    std::swap(rows[1], rows[2]);
    const InExFilterLists lists = SplitInExFilterRows(rows);
    ASSERT_EQ(lists.include.size(), 1u);
    EXPECT_EQ(lists.include[0].phrase.text, u"inc2");
    EXPECT_FALSE(lists.include[0].Enable);
    ASSERT_EQ(lists.exclude.size(), 2u);
    EXPECT_EQ(lists.exclude[0].phrase.text, u"inc1");
    EXPECT_EQ(lists.exclude[1].phrase.text, u"exc1");
    EXPECT_TRUE(lists.exclude[1].phrase.regularExpression);
}

TEST(InExFilterRowsTest, TheFirstFailingRowFromTheTopIsReported) {
    std::vector<InExFilterRow> rows = {
        {u"fine", true, false, true, true},
        {u"(", true, false, true, false},
        {u"", true, false, false, true},
    };
    auto problem = FindInExRowProblem(rows);
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->row, 1u);
    EXPECT_EQ(problem->message,
              u"The program doesn't support the following regular expression.\n\n(");
    rows[1].regularExpression = false;
    problem = FindInExRowProblem(rows);
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->row, 2u);
    EXPECT_EQ(problem->message, u"Please enter filter phrase.");
    // An empty phrase is refused as such, not as an expression; a disabled
    // row is checked like any other.
    rows[2].regularExpression = true;
    rows[2].enable = false;
    EXPECT_EQ(FindInExRowProblem(rows)->message, u"Please enter filter phrase.");
    rows[2].text = u"x";
    EXPECT_FALSE(FindInExRowProblem(rows));
}

HighlightFilterEdit Row(HighlightFilter filter, HighlightChangeMark mark) {
    return {std::move(filter), mark, mark == HighlightChangeMark::New ? u"" : u"phrase", {}};
}

TEST(HighlightValidationTest, ChecksRunInOrderOnTrimmedTexts) {
    HighlightFilter filter = Filter(u"(", 1, highlight_test::Kind::Expression);
    filter.phrase.text = u"(";
    filter.ReplaceWith = true;
    filter.ExecuteProgram = true;
    filter.ExecutableProgram = u"  \t ";
    filter.WriteFile = true;
    filter.WrittenFile = u"   ";
    filter.SendEmail = true;
    filter.Emails = u"\t";
    filter.ActionsOnlyAvailableInSpecialFile = true;
    filter.SetAvailableFile(u" ");
    std::vector<HighlightFilterEdit> rows = {Row(Filter(u"ok", 1), HighlightChangeMark::Unchanged),
                                             Row(filter, HighlightChangeMark::New)};
    std::vector<std::u16string> written;
    const WritableFileCheck refuse = [&](std::u16string_view path) {
        written.emplace_back(path);
        return path != u"/no/such/dir/out.log";
    };

    struct Step {
        std::u16string message;
        HighlightField field;
    };
    const Step steps[] = {
        {u"The program doesn't support the following regular expression.\n\n(",
         HighlightField::Phrase},
        {u"Please enter text for showing.", HighlightField::ShowAsText},
        {u"Please choose a program.", HighlightField::Program},
        {u"Please choose a file.", HighlightField::WrittenFile},
        {u"Failed to create or open file \"/no/such/dir/out.log\".", HighlightField::WrittenFile},
        {u"Please enter email address.", HighlightField::Emails},
        {u"Please choose a file.", HighlightField::AvailableFile},
    };
    for (const Step& step : steps) {
        auto problem = FindHighlightRowProblem(rows, refuse);
        ASSERT_TRUE(problem);
        EXPECT_EQ(problem->row, 1u);
        EXPECT_EQ(problem->message, step.message);
        EXPECT_EQ(problem->field, step.field);
        // Mend what was refused so that the next check speaks.
        HighlightFilter& f = rows[1].filter;
        switch (step.field) {
            case HighlightField::Phrase:
                f.phrase.Assign(u"a(b)", false, true);
                break;
            case HighlightField::ShowAsText:
                f.ReplaceText = u" ";
                break;
            case HighlightField::Program:
                f.ExecutableProgram = u"  tool --x ";
                break;
            case HighlightField::WrittenFile:
                f.WrittenFile = written.empty() ? u" /no/such/dir/out.log " : u"elsewhere";
                break;
            case HighlightField::Emails:
                f.Emails = u" a@b.c ";
                break;
            case HighlightField::AvailableFile:
                f.SetAvailableFile(u" /var/Log/x ");
                break;
        }
    }
    EXPECT_FALSE(FindHighlightRowProblem(rows, [](std::u16string_view) { return true; }));
    const HighlightFilter& f = rows[1].filter;
    EXPECT_EQ(f.ExecutableProgram, u"tool --x");
    EXPECT_EQ(f.Emails, u"a@b.c");
    EXPECT_EQ(f.AvailableFile, u"/var/Log/x");
    EXPECT_EQ(f.foldedAvailableFile, u"/var/log/x");
    // The "Show as" text and the phrase keep their spaces; the file check saw
    // the trimmed path.
    EXPECT_EQ(f.ReplaceText, u" ");
    ASSERT_FALSE(written.empty());
    EXPECT_EQ(written[0], u"/no/such/dir/out.log");
    // A relative file to write to is taken from the current folder.
    EXPECT_EQ(f.WrittenFile,
              platform::Utf8ToUtf16(std::filesystem::current_path().string()) + u"/elsewhere");
}

TEST(HighlightValidationTest, RemovedRowsAreNeitherCheckedNorCounted) {
    std::vector<HighlightFilterEdit> rows = {Row(Filter(u"", 1), HighlightChangeMark::Removed),
                                             Row(Filter(u"a", 1), HighlightChangeMark::Unchanged),
                                             Row(Filter(u"", 1), HighlightChangeMark::New)};
    auto problem = FindHighlightRowProblem(rows);
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->row, 1u);
    EXPECT_EQ(problem->message, u"Please enter highlight phrase.");
}

TEST(HighlightValidationTest, TheWriteCheckCreatesAMissingFileAndRefusesADirectory) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("tarvik-write-check-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::filesystem::path file = dir / "matched.log";
    EXPECT_TRUE(CanWriteFile(platform::Utf8ToUtf16(file.string())));
    EXPECT_TRUE(std::filesystem::exists(file));
    EXPECT_FALSE(CanWriteFile(platform::Utf8ToUtf16(dir.string())));
    // A pipe nobody reads is refused at once rather than waited on.
    const std::filesystem::path fifo = dir / "pipe";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(CanWriteFile(platform::Utf8ToUtf16(fifo.string())));
    std::filesystem::remove_all(dir);
}

TEST(HighlightEditMarksTest, NotificationSettingsMarkModifiedOthersDoNot) {
    const HighlightSetting marking[] = {
        HighlightSetting::Phrase,
        HighlightSetting::Enable,
        HighlightSetting::MatchCase,
        HighlightSetting::RegularExpression,
        HighlightSetting::SendEmail,
        HighlightSetting::Emails,
        HighlightSetting::AttachPreviousLines,
        HighlightSetting::SendFirstOccured,
        HighlightSetting::PostWebHook,
        HighlightSetting::WebHookUrl,
        HighlightSetting::WebHookBody,
        HighlightSetting::ActionsOnlyAvailableInSpecialFile,
        HighlightSetting::AvailableFile,
    };
    const HighlightSetting notMarking[] = {
        HighlightSetting::Colors,
        HighlightSetting::HighlightEntireLine,
        HighlightSetting::ReplaceWith,
        HighlightSetting::ReplaceText,
        HighlightSetting::WriteFile,
        HighlightSetting::WrittenFile,
        HighlightSetting::Print,
        HighlightSetting::ExecuteProgram,
        HighlightSetting::ExecutableProgram,
        HighlightSetting::IncludeTimestamp,
        HighlightSetting::IncludeFileName,
        HighlightSetting::ShowDesktopNotification,
    };
    bool reload = false;
    for (HighlightSetting setting : marking) {
        HighlightFilterEdit row = Row(Filter(u"x", 1), HighlightChangeMark::Unchanged);
        NoteHighlightEdit(row, setting, reload);
        EXPECT_EQ(row.changeMark, HighlightChangeMark::Modified) << int(setting);
        HighlightFilterEdit fresh = Row(Filter(u"x", 1), HighlightChangeMark::New);
        NoteHighlightEdit(fresh, setting, reload);
        EXPECT_EQ(fresh.changeMark, HighlightChangeMark::New) << int(setting);
    }
    for (HighlightSetting setting : notMarking) {
        HighlightFilterEdit row = Row(Filter(u"x", 1), HighlightChangeMark::Unchanged);
        NoteHighlightEdit(row, setting, reload);
        EXPECT_EQ(row.changeMark, HighlightChangeMark::Unchanged) << int(setting);
    }
}

TEST(HighlightEditMarksTest, ReloadOnlyWhenTheShownTextCanChange) {
    const HighlightSetting phraseSettings[] = {HighlightSetting::Phrase, HighlightSetting::Enable,
                                               HighlightSetting::MatchCase,
                                               HighlightSetting::RegularExpression};
    for (HighlightSetting setting : phraseSettings) {
        bool reload = false;
        HighlightFilterEdit plain = Row(Filter(u"x", 1), HighlightChangeMark::Unchanged);
        NoteHighlightEdit(plain, setting, reload);
        EXPECT_FALSE(reload) << int(setting);
        HighlightFilterEdit shown = Row(ShowAs(u"x", u"y", 1), HighlightChangeMark::New);
        NoteHighlightEdit(shown, setting, reload);
        EXPECT_TRUE(reload) << int(setting);
    }
    for (HighlightSetting setting :
         {HighlightSetting::ReplaceWith, HighlightSetting::ReplaceText}) {
        bool reload = false;
        HighlightFilterEdit plain = Row(Filter(u"x", 1), HighlightChangeMark::Unchanged);
        NoteHighlightEdit(plain, setting, reload);
        EXPECT_TRUE(reload) << int(setting);
    }
    bool reload = false;
    HighlightFilterEdit shown = Row(ShowAs(u"x", u"y", 1), HighlightChangeMark::Unchanged);
    NoteHighlightEdit(shown, HighlightSetting::Colors, reload);
    NoteHighlightEdit(shown, HighlightSetting::SendEmail, reload);
    EXPECT_FALSE(reload);

    HighlightFilterEdit plain = Row(Filter(u"x", 1), HighlightChangeMark::Unchanged);
    NoteHighlightRemoval(plain, reload);
    EXPECT_EQ(plain.changeMark, HighlightChangeMark::Removed);
    EXPECT_FALSE(reload);
    NoteHighlightRemoval(shown, reload);
    EXPECT_TRUE(reload);
}

}  // namespace
}  // namespace filters
