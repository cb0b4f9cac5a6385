// A journal document in the application, against real journals: its name
// wherever names are kept, the tail at open, following through the wake
// descriptor the host watches, actions on new entries only, and Reload.

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "JournalWriter.h"
#include "app/TarvikApp.h"
#include "core/DocCommandIds.h"
#include "discovery/PathIdentity.h"
#include "platform/CodePage.h"
#include "platform/TaskQueue.h"
#include "settings/TempRegistry.h"

namespace streams_test {
namespace {

class JournalDocumentTest : public app_test::TempRegistryTest {
protected:
    std::u16string Name() const {
        return platform::Utf8ToUtf16("journal:?dir=" + folder_.Path() + "&identifier=app");
    }

    static std::string Text(const core::CTarvikDoc& doc) {
        std::string text;
        for (int i = 0; i < doc.Buffer().LineCount(); ++i) {
            text += platform::Utf16ToUtf8(doc.Buffer().LineText(i));
            text += '\n';
        }
        return text;
    }

    // Follows as the host's event loop does: waking on the one descriptor,
    // with refresh ticks between, until the writer ended and all is read.
    // True when some wake read the document.
    bool Follow(core::CTarvikDoc& doc, pid_t writer) {
        bool woken = false;
        // After the writer ended: until a wait brings nothing and no backlog is left.
        int quiet = 0;
        bool running = true;
        while (running || quiet < 3) {
            pollfd wake{app_.FileEventDescriptor(), POLLIN, 0};
            const bool ready = poll(&wake, 1, 50) > 0;
            if (ready) {
                app_.OnFileEvents();
                for (const core::CTarvikDoc* polled : app_.LastPolled()) woken |= polled == &doc;
            }
            app_.OnRefreshTick();
            if (running) running = waitpid(writer, nullptr, WNOHANG) == 0;
            quiet = !running && !ready && !doc.HasBacklog() ? quiet + 1 : 0;
        }
        return woken;
    }

    TempFolder folder_;
    platform::TaskQueue queue_;
    app::CTarvikApp app_{platform::SystemClock::Instance(), &queue_};
};

TEST_F(JournalDocumentTest, FollowsByItsWakeAndActsOnNewEntriesOnly) {
    const std::string journal = folder_.File("x.journal");
    ASSERT_TRUE(WriteJournal(journal, Numbered(0, 3)));
    const std::string written = folder_.File("matched.txt");
    filters::HighlightFilter filter;
    filter.phrase.Assign(u"entry", false, false);
    filter.Enable = true;
    filter.WriteFile = true;
    filter.WrittenFile = platform::Utf8ToUtf16(written);
    app_.HighlightFilters().Replace({filter});
    app_.EnableHighlightActions(nullptr);

    // The name is kept as a name, in its one stable form.
    const std::u16string name = Name();
    core::CTarvikDoc* doc = app_.OpenDocument(name);
    ASSERT_NE(doc, nullptr);
    EXPECT_TRUE(doc->IsStreamDocument());
    EXPECT_EQ(doc->GetPathName(), discovery::NormalDocumentName(name));
    EXPECT_EQ(doc->GetTitle(), doc->GetPathName());
    EXPECT_FALSE(doc->IsCommandEnabled(core::kCmdTruncateLog));
    EXPECT_FALSE(doc->IsCommandEnabled(core::kCmdOpenInEditor));
    EXPECT_TRUE(doc->IsCommandEnabled(core::kCmdBrowseFolder));
    EXPECT_EQ(EntryNumbers(Text(*doc)), (std::vector<int>{0, 1, 2}));
    doc->SetMonitoring(true);

    // Bursts while following: all, once, in order; the tail ran no action.
    const pid_t writer = StartJournalWriter(journal, Numbered(3, 20000));
    ASSERT_GT(writer, 0);
    EXPECT_TRUE(Follow(*doc, writer));
    std::vector<int> expected(20003);
    for (int i = 0; i < 20003; ++i) expected[i] = i;
    EXPECT_EQ(EntryNumbers(Text(*doc)), expected);
    std::ifstream in(written, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    std::string narrow;
    for (std::size_t i = 2; i < bytes.size(); i += 2) narrow += bytes[i];
    const std::vector<int> acted = EntryNumbers(narrow);
    ASSERT_EQ(acted.size(), 20000u);
    EXPECT_EQ(acted.front(), 3);
    EXPECT_EQ(acted.back(), 20002);

    // Reload takes the tail again; nothing new is acted on.
    ASSERT_TRUE(doc->Reload(false));
    EXPECT_EQ(EntryNumbers(Text(*doc)), expected);
    ASSERT_TRUE(WriteJournal(journal, Numbered(20003, 1)));
    for (int i = 0; i < 50 && EntryNumbers(Text(*doc)).size() < 20004; ++i) {
        usleep(20000);
        app_.OnFileEvents();
        app_.OnRefreshTick();
    }
    EXPECT_EQ(EntryNumbers(Text(*doc)).back(), 20003);
    app_.CloseDocument(doc);
}

// A file of the same name wins over a source's name; a name that cannot
// be read opens nothing and says why.
TEST_F(JournalDocumentTest, AnExistingFileWinsAndBadNamesSayWhy) {
    const std::string cwd = std::filesystem::current_path().string();
    std::filesystem::current_path(folder_.Path());
    EXPECT_EQ(discovery::NormalDocumentName(u"journal:?priority=4&unit=ssh"),
              u"journal:?priority=4&unit=ssh.service");
    { std::ofstream(folder_.File("journal:")) << "a file\n"; }
    EXPECT_EQ(discovery::NormalDocumentName(u"journal:"),
              platform::Utf8ToUtf16(folder_.File("journal:")));
    core::CTarvikDoc* doc = app_.OpenDocument(u"journal:");
    ASSERT_NE(doc, nullptr);
    EXPECT_FALSE(doc->IsStreamDocument());
    // So is a file named like a command, which never runs.
    { std::ofstream(folder_.File("cmd:touch ran")) << "a file\n"; }
    doc = app_.OpenDocument(u"cmd:touch ran");
    ASSERT_NE(doc, nullptr);
    EXPECT_FALSE(doc->IsStreamDocument());
    EXPECT_FALSE(std::filesystem::exists(folder_.File("ran")));
    std::filesystem::current_path(cwd);
    EXPECT_EQ(app_.OpenDocument(u"journal:?colour=blue"), nullptr);
    EXPECT_EQ(app_.OpenDocument(platform::Utf8ToUtf16("journal:?dir=" + folder_.File("none"))),
              nullptr);
}

}  // namespace
}  // namespace streams_test
