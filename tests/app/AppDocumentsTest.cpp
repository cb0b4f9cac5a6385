// The application's list of documents and its commands for all of them.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/TarvikApp.h"
#include "core/IDocumentHost.h"
#include "core/ILogView.h"
#include "core/IUserInterface.h"
#include "platform/Registry.h"
#include "settings/TempRegistry.h"

namespace {

using app_test::CreateKey;

class NullView final : public core::ILogView {
public:
    core::TextPos GetCursorPos() const override { return {}; }
    void SetCursorPos(core::TextPos) override {}
    void SetSelection(core::TextPos, core::TextPos) override {}
    void SetAnchor(core::TextPos) override {}
    int GetTopLine() const override { return 0; }
    int GetScreenLines() const override { return 10; }
    int GetFirstVisibleColumn() const override { return 0; }
    void GetVisibleRange(int& first, int& last) const override { first = last = 0; }
    void ScrollTo(int, int) override {}
    void ScrollToEnd() override {}
    void PostGoToEnd() override {}
    void PostGoToLine(int) override {}
    void RedrawLines(int, int) override {}
    void Invalidate() override {}
};

class FakeHost final : public core::IDocumentHost {
public:
    core::ILogView* CreateDocumentFrame(core::CTarvikDoc&) override {
        ++frames;
        return &view;
    }
    void DestroyDocumentFrame(core::CTarvikDoc&) override { --frames; }
    void CreateTab(core::CTarvikDoc&, std::u16string_view name, std::u16string_view) override {
        tabs.emplace_back(name);
    }
    void RemoveTab(core::CTarvikDoc&) override { tabs.pop_back(); }
    void FlashTab(core::CTarvikDoc&) override {}
    void StopAllTabFlashing() override { ++flashStops; }
    void BlinkTrayIcon() override {}
    bool IsActiveDocumentFrame(const core::CTarvikDoc&) const override { return false; }
    bool IsApplicationActive() const override { return true; }
    bool IsInTray() const override { return false; }

    NullView view;
    int frames = 0;
    int flashStops = 0;
    std::vector<std::u16string> tabs;
};

class SilentUi final : public core::IUserInterface {
public:
    core::MessageAnswer ShowMessage(std::u16string_view text, core::MessageIcon,
                                    core::MessageButtons) override {
        messages.emplace_back(text);
        // A modal box runs the event loop: whatever arrives meanwhile runs now.
        if (duringMessage) std::exchange(duringMessage, nullptr)();
        return core::MessageAnswer::Ok;
    }
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    std::vector<std::u16string> messages;
    std::function<void()> duringMessage;
};

class AppDocumentsTest : public app_test::TempRegistryTest {
protected:
    void SetUp() override {
        TempRegistryTest::SetUp();
        folder_ = std::filesystem::temp_directory_path() /
                  ("tarvik-app-docs-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
        app.SetDocumentHost(&host);
        app.SetUserInterface(&ui);
    }
    void TearDown() override {
        std::filesystem::remove_all(folder_);
        TempRegistryTest::TearDown();
    }

    std::u16string WriteLog(const std::string& name, const std::string& text) {
        const std::string path = (folder_ / name).string();
        std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
        return std::u16string(path.begin(), path.end());
    }

    static std::u16string Text(const core::CTarvikDoc& doc) {
        std::u16string text;
        for (int line = 0; line < doc.Buffer().LineCount(); ++line) {
            if (line > 0) text.push_back(u'\n');
            text.append(doc.Buffer().LineText(line));
        }
        return text;
    }

    void StoreExcludeFilter(std::u16string_view phrase) {
        platform::RegKey key = CreateKey(u"Software\\Ostra Tarvik\\ExcludeFilters2\\Filter1");
        key.SetString(u"Text", phrase);
        key.SetDWORD(u"Enable", 1);
    }

    FakeHost host;
    SilentUi ui;
    app::CTarvikApp app;

    const std::filesystem::path& folder() const { return folder_; }

private:
    std::filesystem::path folder_;
};

TEST_F(AppDocumentsTest, OpeningGivesADocumentItsFrameAndTab) {
    core::CTarvikDoc* doc = app.OpenDocument(WriteLog("a.log", "alpha\n"));
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->GetView(), &host.view);
    EXPECT_EQ(host.tabs, std::vector<std::u16string>{u"a.log"});
    EXPECT_EQ(app.Documents().size(), 1u);

    EXPECT_EQ(app.OpenDocument(u"/nonexistent/b.log"), nullptr);
    EXPECT_EQ(app.Documents().size(), 1u);
    EXPECT_EQ(host.frames, 1) << "the failed document's frame is gone again";
    EXPECT_EQ(ui.messages,
              std::vector<std::u16string>{u"Could not open file '/nonexistent/b.log'."});

    app.CloseDocument(doc);
    EXPECT_TRUE(app.Documents().empty());
    EXPECT_TRUE(host.tabs.empty());
    EXPECT_EQ(host.frames, 0);
}

TEST_F(AppDocumentsTest, StoredFiltersApplyAndTheSwitchReloadsEveryDocument) {
    StoreExcludeFilter(u"noise");
    bool maximized = true;
    settings::WindowRect rect{};
    app.LoadOptions(maximized, rect);
    ASSERT_TRUE(app.InExFilters().AnyEnabled());

    core::CTarvikDoc* doc = app.OpenDocument(WriteLog("f.log", "keep\nnoise\nkeep 2\n"));
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(Text(*doc), u"keep\nkeep 2\n");

    EXPECT_TRUE(app.OnCommand(app::kCmdToggleInExFilters));
    EXPECT_FALSE(app.GetOptions().EnableInExFilters);
    EXPECT_EQ(Text(*doc), u"keep\nnoise\nkeep 2\n");
    EXPECT_EQ(host.flashStops, 1);

    app::CTarvikApp fresh;
    fresh.LoadOptions(maximized, rect);
    EXPECT_FALSE(fresh.GetOptions().EnableInExFilters) << "the switch is saved at once";

    app.GetOptions().ReloadAllDocsInExclude = false;
    app.ToggleInExFilters();
    EXPECT_EQ(Text(*doc), u"keep\nnoise\nkeep 2\n") << "no reload asked for";
}

TEST_F(AppDocumentsTest, AllDocumentsCommandsNeedDocuments) {
    EXPECT_FALSE(app.IsCommandEnabled(app::kCmdClearAllWindows));
    EXPECT_FALSE(app.OnCommand(app::kCmdReloadAllDocuments));
    core::CTarvikDoc* a = app.OpenDocument(WriteLog("a.log", "a\n"));
    core::CTarvikDoc* b = app.OpenDocument(WriteLog("b.log", "b\n"));
    ASSERT_TRUE(a && b);
    EXPECT_TRUE(app.OnCommand(app::kCmdClearAllWindows));
    EXPECT_EQ(Text(*a), u"");
    EXPECT_EQ(Text(*b), u"");
    EXPECT_TRUE(app.OnCommand(app::kCmdReloadAllDocuments));
    EXPECT_EQ(Text(*a), u"a\n");
    EXPECT_EQ(Text(*b), u"b\n");
    EXPECT_EQ(host.flashStops, 2);
}

TEST_F(AppDocumentsTest, ReloadAllSurvivesDocumentsOpenedAndClosedDuringItsMessage) {
    core::CTarvikDoc* failing = app.OpenDocument(WriteLog("a.log", "a\n"));
    core::CTarvikDoc* kept = app.OpenDocument(WriteLog("b.log", "b\n"));
    core::CTarvikDoc* closed = app.OpenDocument(WriteLog("c.log", "c\n"));
    ASSERT_TRUE(failing && kept && closed);
    std::filesystem::remove(folder() / "a.log");
    app.ClearAllDocuments();
    // A second start hands over files while "Could not reload" is shown.
    ui.duringMessage = [&] {
        for (const char* name : {"d.log", "e.log", "f.log", "g.log"}) {
            ASSERT_NE(app.OpenDocument(WriteLog(name, "handed over\n")), nullptr);
        }
        app.CloseDocument(closed);
    };
    EXPECT_TRUE(app.OnCommand(app::kCmdReloadAllDocuments));
    EXPECT_EQ(ui.messages, std::vector<std::u16string>{u"Could not reload content of the file"});
    EXPECT_EQ(app.Documents().size(), 6u);
    EXPECT_EQ(Text(*kept), u"b\n");
    EXPECT_TRUE(kept->IsRedLineArmed());
    EXPECT_EQ(Text(*app.Documents().back()), u"handed over\n");
}

}  // namespace
