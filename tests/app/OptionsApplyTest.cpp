// Confirming the Options and Buffer Size dialogs: the checks in their order,
// the apply steps on options, documents and main frame, and what is saved.

#include "app/OptionsApply.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "FakeDocumentHost.h"
#include "app/TarvikApp.h"
#include "core/IUserInterface.h"
#include "core/LineFlagBits.h"
#include "settings/RegistryPaths.h"
#include "settings/TempDesktop.h"
#include "settings/TempRegistry.h"

namespace app_test {
namespace {

using app::OptionsDialogField;

class CountingUi final : public core::IUserInterface {
public:
    core::MessageAnswer ShowMessage(std::u16string_view, core::MessageIcon,
                                    core::MessageButtons) override {
        return core::MessageAnswer::Ok;
    }
    void BeginWaitCursor() override { ++waitCursors; }
    void EndWaitCursor() override {}
    int waitCursors = 0;
};

bool HasValue(std::u16string_view name) {
    const std::vector<std::u16string> names = ValueNames(settings::reg_paths::kOptions);
    return std::find(names.begin(), names.end(), name) != names.end();
}

settings::Options StoredOptions() {
    app::CTarvikApp fresh;
    bool maximized = true;
    settings::WindowRect rect{};
    fresh.LoadOnlyOneInstance();
    fresh.LoadOptions(maximized, rect);
    return fresh.GetOptions();
}

TEST(OptionsDialogCheckTest, RefusesInOrderEvenForOptionsSwitchedOff) {
    settings::Options edited;
    edited.OpenFilesWhenStartup = false;
    edited.OpenFilesNumberWhenStartup = 0;
    edited.EnableMaxTabItemLen = false;
    edited.MaxTabItemLen = -2;
    edited.TabSize = 65;
    edited.SaveOutputDebugString2File = true;
    edited.OutputDebugStringSavedFile = u" \t ";

    const std::vector<std::pair<OptionsDialogField, std::u16string_view>> expected = {
        {OptionsDialogField::ReopenCount, u"Invalid files number. It should be greater than 0."},
        {OptionsDialogField::MaxTabTextLength,
         u"Invalid length of tab text. The number must be greater than 0."},
        {OptionsDialogField::TabSize,
         u"Invalid tab size number. The valid number is between 1 and 64."},
        {OptionsDialogField::CaptureFile,
         u"Please set a file for the output of \"Capture OutputDebugString\"."},
    };
    for (const auto& [field, message] : expected) {
        const auto refusal = app::CheckOptionsDialog(edited);
        ASSERT_TRUE(refusal.has_value());
        EXPECT_EQ(refusal->field, field);
        EXPECT_EQ(refusal->message, message);
        switch (field) {
            case OptionsDialogField::ReopenCount:
                edited.OpenFilesNumberWhenStartup = 1;
                break;
            case OptionsDialogField::MaxTabTextLength:
                edited.MaxTabItemLen = 1;
                break;
            case OptionsDialogField::TabSize:
                edited.TabSize = 0;
                EXPECT_EQ(app::CheckOptionsDialog(edited)->field, OptionsDialogField::TabSize);
                edited.TabSize = 64;
                break;
            case OptionsDialogField::CaptureFile:
                edited.OutputDebugStringSavedFile = u" /tmp/ods.log ";
                break;
        }
    }
    EXPECT_FALSE(app::CheckOptionsDialog(edited).has_value());

    edited.SaveOutputDebugString2File = false;
    edited.OutputDebugStringSavedFile.clear();
    EXPECT_FALSE(app::CheckOptionsDialog(edited).has_value()) << "no file needed when not saving";
}

TEST(OptionsDialogCheckTest, NormalizingTrimsTheCaptureFileAndRaisesNegativeWheelValues) {
    settings::Options edited;
    edited.OutputDebugStringSavedFile = u"  /var/log/ods.log\t";
    edited.MouseWheelScrollLines = -3;
    edited.MouseWheelScrollColumns = 7;
    app::NormalizeOptionsDialog(edited);
    EXPECT_EQ(edited.OutputDebugStringSavedFile, u"/var/log/ods.log");
    EXPECT_EQ(edited.MouseWheelScrollLines, 0);
    EXPECT_EQ(edited.MouseWheelScrollColumns, 7);
}

class OptionsApplyTest : public TempRegistryTest {
protected:
    void SetUp() override {
        TempRegistryTest::SetUp();
        folder_ = std::filesystem::temp_directory_path() /
                  ("tarvik-options-apply-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
        app.SetDocumentHost(&host);
        app.SetUserInterface(&ui);
    }
    void TearDown() override {
        std::filesystem::remove_all(folder_);
        TempRegistryTest::TearDown();
    }

    core::CTarvikDoc* Open(const std::string& name, const std::string& text) {
        const std::string path = (folder_ / name).string();
        std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
        return app.OpenDocument(std::u16string(path.begin(), path.end()));
    }

    app::OptionsApplyEffects Apply(const settings::Options& edited) {
        return app::ApplyOptionsDialog(app, {edited, false, false});
    }

    static std::vector<int> RedLines(const core::CTarvikDoc& doc) {
        std::vector<int> lines;
        for (int line = 0; line < doc.Buffer().LineCount(); ++line) {
            if (doc.Buffer().LineFlags(line) & core::kRedLineFlag) lines.push_back(line);
        }
        return lines;
    }

    FakeDocumentHost host;
    CountingUi ui;
    app::CTarvikApp app;

private:
    std::filesystem::path folder_;
};

TEST_F(OptionsApplyTest, ReopenSwitchedOffKeepsTheOldReopenValues) {
    app.GetOptions().OpenFilesWhenStartup = true;
    app.GetOptions().OpenFilesNumberWhenStartup = 5;
    app.GetOptions().ArrangeReopenedFile = 2;
    app.GetOptions().ClearWndWhenOpenFileOnStartUp = true;

    settings::Options edited = app.GetOptions();
    edited.OpenFilesWhenStartup = false;
    edited.OpenFilesNumberWhenStartup = 9;
    edited.ArrangeReopenedFile = 4;
    edited.ClearWndWhenOpenFileOnStartUp = false;
    edited.ClearWndWhenOpenFile = true;
    edited.OnlyOneInstance = false;
    Apply(edited);

    const settings::Options stored = StoredOptions();
    for (const settings::Options* o : {&std::as_const(app).GetOptions(), &stored}) {
        EXPECT_FALSE(o->OpenFilesWhenStartup);
        EXPECT_EQ(o->OpenFilesNumberWhenStartup, 5);
        EXPECT_EQ(o->ArrangeReopenedFile, 2);
        EXPECT_TRUE(o->ClearWndWhenOpenFileOnStartUp);
        EXPECT_TRUE(o->ClearWndWhenOpenFile);
        EXPECT_FALSE(o->OnlyOneInstance);
    }

    edited.OpenFilesWhenStartup = true;
    Apply(edited);
    EXPECT_EQ(app.GetOptions().OpenFilesNumberWhenStartup, 9);
    EXPECT_EQ(app.GetOptions().ArrangeReopenedFile, 4);
    EXPECT_FALSE(app.GetOptions().ClearWndWhenOpenFileOnStartUp);
}

TEST_F(OptionsApplyTest, TabTextLengthIsTakenOnlyWhileTheLimitIsOn) {
    settings::Options edited = app.GetOptions();
    edited.MaxTabItemLen = 30;
    EXPECT_FALSE(Apply(edited).rebuildTabTexts) << "the limit is off";
    EXPECT_EQ(app.GetOptions().MaxTabItemLen, 16);

    edited.EnableMaxTabItemLen = true;
    EXPECT_TRUE(Apply(edited).rebuildTabTexts);
    EXPECT_EQ(app.GetOptions().MaxTabItemLen, 30);
    EXPECT_FALSE(Apply(edited).rebuildTabTexts) << "nothing changed";

    edited.MaxTabItemLen = 12;
    EXPECT_TRUE(Apply(edited).rebuildTabTexts);

    edited.EnableMaxTabItemLen = false;
    edited.MaxTabItemLen = 40;
    EXPECT_TRUE(Apply(edited).rebuildTabTexts) << "switched off";
    EXPECT_EQ(app.GetOptions().MaxTabItemLen, 12);
}

TEST_F(OptionsApplyTest, ChangedValuesBecomeEffectsForTheMainFrame) {
    core::CTarvikDoc* doc = Open("a.log", "one\ntwo\n");
    ASSERT_NE(doc, nullptr);
    const std::u16string fullTitle = doc->GetTitle();
    EXPECT_EQ(Apply(app.GetOptions()), app::OptionsApplyEffects{}) << "nothing changed";

    settings::Options edited = app.GetOptions();
    edited.FlashTabItem = false;
    edited.EnableHotkey = false;
    edited.DisplayFullPath = false;
    edited.StatusbarClock = false;
    edited.TabSize = 8;
    edited.MouseWheelScrollColumns = 3;
    edited.InvertColorSelText = false;
    edited.MinimizeEsc = true;
    TempDesktop desktop;  // the box was ticked: .log files get associated
    const app::OptionsApplyEffects effects = app::ApplyOptionsDialog(app, {edited, false, true});

    EXPECT_EQ(effects.associateLogFiles, std::optional<bool>(true));
    EXPECT_TRUE(effects.stopTabFlashing);
    EXPECT_EQ(effects.hotKey, std::optional<bool>(false));
    EXPECT_TRUE(effects.updateFrameTitles);
    EXPECT_EQ(effects.clockPane, std::optional<bool>(false));
    EXPECT_TRUE(effects.viewsTakeTabSize);
    EXPECT_TRUE(effects.viewsTakeWheelValues);
    EXPECT_FALSE(effects.rebuildTabTexts);
    EXPECT_FALSE(effects.reopenCaptureFile);

    EXPECT_NE(doc->GetTitle(), fullTitle);
    EXPECT_EQ(doc->GetTitle().rfind(u"a.log - ", 0), 0u) << "the title names the file only";
    EXPECT_EQ(host.views.front().invalidations, 1) << "inverted selection colours repaint";
    EXPECT_TRUE(app.GetOptions().MinimizeEsc);
    EXPECT_EQ(app.GetOptions().TabSize, 8);
    EXPECT_EQ(app.GetOptions().MouseWheelScrollColumns, 3);
}

TEST_F(OptionsApplyTest, RedLineChoicesTidyTheDocuments) {
    core::CTarvikDoc* doc = Open("r.log", "a\nb\nc\nd\n");
    ASSERT_NE(doc, nullptr);
    doc->Buffer().SetLineFlag(1, core::kRedLineFlag, true, false);
    doc->Buffer().SetLineFlag(3, core::kRedLineFlag, true, false);

    settings::Options edited = app.GetOptions();
    edited.RemovePreRedLine = true;
    Apply(edited);
    EXPECT_TRUE(app.GetOptions().RemovePreRedLine);
    EXPECT_EQ(RedLines(*doc), std::vector<int>{3}) << "only the newest stays";

    edited.DrawRedLine = false;
    edited.RemovePreRedLine = false;
    Apply(edited);
    EXPECT_FALSE(app.GetOptions().DrawRedLine);
    EXPECT_TRUE(app.GetOptions().RemovePreRedLine) << "not taken while red lines are off";
    EXPECT_TRUE(RedLines(*doc).empty());
}

TEST_F(OptionsApplyTest, CaptureFileIsReopenedOnlyWhenItsSettingsReallyChange) {
    settings::Options edited = app.GetOptions();
    edited.OutputDebugStringSavedFile = u"/tmp/Ods.log";
    EXPECT_FALSE(Apply(edited).reopenCaptureFile) << "saving stays off";
    EXPECT_EQ(app.GetOptions().OutputDebugStringSavedFile, u"/tmp/Ods.log");

    edited.SaveOutputDebugString2File = true;
    EXPECT_TRUE(Apply(edited).reopenCaptureFile);
    EXPECT_TRUE(app.GetOptions().SaveOutputDebugString2File);

    EXPECT_FALSE(Apply(edited).reopenCaptureFile) << "the same file";
    edited.OutputDebugStringSavedFile = u"/TMP/ods.LOG";
    EXPECT_TRUE(Apply(edited).reopenCaptureFile) << "case alone names another file";
    EXPECT_EQ(app.GetOptions().OutputDebugStringSavedFile, u"/TMP/ods.LOG");

    edited.OutputDebugStringSavedFile = u"/tmp/other.log";
    EXPECT_TRUE(Apply(edited).reopenCaptureFile);
    EXPECT_EQ(app.GetOptions().OutputDebugStringSavedFile, u"/tmp/other.log");
}

TEST_F(OptionsApplyTest, DecodingChangesRereadEveryDocument) {
    core::CTarvikDoc* doc = Open("c.log", "a\x01z\n");
    ASSERT_NE(doc, nullptr);
    ASSERT_EQ(doc->Buffer().LineText(0), u"a z");
    const int stopsBefore = host.flashStops;

    settings::Options edited = app.GetOptions();
    edited.CaptureODSStartup = true;
    Apply(edited);
    EXPECT_EQ(host.flashStops, stopsBefore) << "no reload without a decoding change";
    EXPECT_TRUE(app.GetOptions().CaptureODSStartup);

    edited.ShowSpaceForBadChar = false;
    Apply(edited);
    EXPECT_EQ(doc->Buffer().LineText(0), u"a\x01z");
    EXPECT_EQ(host.flashStops, stopsBefore + 1);
    EXPECT_GE(ui.waitCursors, 1);

    edited.TextEncoding = settings::TextEncodingChoice::Utf8;
    Apply(edited);
    EXPECT_EQ(app.GetOptions().TextEncoding, settings::TextEncodingChoice::Utf8);
    EXPECT_EQ(host.flashStops, stopsBefore + 2);
}

TEST_F(OptionsApplyTest, SavesTheOptionsDialogGroupOnly) {
    app.GetOptions().MaxBufSiz = 12345;  // buffer group: not the dialog's to save
    settings::Options edited = app.GetOptions();
    edited.MinimizeWndMin = true;
    edited.LeftBounds = u"<{";
    edited.RightBounds = u">}";
    edited.TextEncoding = settings::TextEncodingChoice::Utf16Le;
    Apply(edited);

    EXPECT_TRUE(HasValue(u"MinimizeWndMin"));
    EXPECT_TRUE(HasValue(u"ShowSpaceForBadChar"));
    EXPECT_TRUE(HasValue(u"OnlyOneInstance"));
    EXPECT_FALSE(HasValue(u"MaxBufSiz"));
    EXPECT_FALSE(HasValue(u"IntervalChkFile"));
    const settings::Options stored = StoredOptions();
    EXPECT_TRUE(stored.MinimizeWndMin);
    EXPECT_EQ(stored.LeftBounds, u"<{");
    EXPECT_EQ(stored.RightBounds, u">}");
    EXPECT_EQ(stored.TextEncoding, settings::TextEncodingChoice::Utf16Le);
    EXPECT_EQ(stored.MaxBufSiz, settings::Options{}.MaxBufSiz);
}

TEST_F(OptionsApplyTest, BufferLimitTrimsEveryDocumentAtOnceAndSavesItsGroup) {
    std::string text;
    for (int i = 0; i < 1000; ++i) text += "line " + std::to_string(i) + "\n";
    core::CTarvikDoc* doc = Open("big.log", text);
    core::CTarvikDoc* small = Open("small.log", "x\n");
    ASSERT_TRUE(doc && small);
    ASSERT_EQ(doc->Buffer().LineCount(), 1001);

    app::ApplyBufferLimit(app, {false, 1000, 10});
    EXPECT_EQ(doc->Buffer().LineCount(), 1001) << "no limit, no trimming";

    app::ApplyBufferLimit(app, {true, 1000, 10});
    EXPECT_EQ(doc->Buffer().LineCount(), 10);
    EXPECT_EQ(doc->Buffer().LineText(8), u"line 999");
    EXPECT_EQ(small->Buffer().LineCount(), 2) << "a document under the limit stays whole";
    EXPECT_GE(host.views[0].invalidations, 1);

    EXPECT_EQ(ValueNames(settings::reg_paths::kOptions).size(), 3u);
    EXPECT_EQ(app::BufferLimitOf(StoredOptions()), (app::BufferLimit{true, 1000, 10}));
}

}  // namespace
}  // namespace app_test
