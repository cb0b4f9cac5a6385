// Journal names: one stable text for one selection, and a clear message for
// a name that cannot be read, whatever its bytes.

#include <gtest/gtest.h>
#include <unistd.h>

#include <memory>
#include <random>

#include "platform/CodePage.h"
#include "streams/JournalQuery.h"
#include "streams/StreamSources.h"

namespace streams_test {
namespace {

using streams::FormatJournalName;
using streams::JournalQuery;
using streams::ParseJournalName;

std::string Canonical(const std::string& name) {
    JournalQuery query;
    std::u16string error;
    if (!ParseJournalName(platform::Utf8ToUtf16(name), query, error)) {
        return "error: " + platform::Utf16ToUtf8(error);
    }
    return platform::Utf16ToUtf8(FormatJournalName(query));
}

TEST(JournalNameTest, TheSameSelectionHasOneName) {
    EXPECT_EQ(Canonical("journal:"), "journal:");
    EXPECT_EQ(Canonical("journal:?"), "journal:");
    EXPECT_EQ(Canonical("journal:?unit=ssh.service&priority=4"),
              "journal:?priority=4&unit=ssh.service");
    EXPECT_EQ(Canonical("journal:?unit=ssh&priority=warning"),
              Canonical("journal:?priority=4&unit=ssh.service"));
    EXPECT_EQ(Canonical("journal:?unit=b.service&unit=a.service&unit=b.service"),
              "journal:?unit=a.service&unit=b.service");
    EXPECT_EQ(Canonical("journal:?host=web1&dir=/var/log/journal/remote/"),
              "journal:?dir=/var/log/journal/remote&host=web1");
    EXPECT_EQ(Canonical("journal:?dir=/var/log/../log/journal&&boot"),
              "journal:?boot=1&dir=/var/log/journal");
    EXPECT_EQ(Canonical("journal:?boot=0"), "journal:");
    char here[4096];
    ASSERT_NE(getcwd(here, sizeof here), nullptr);
    EXPECT_EQ(Canonical("journal:?dir=logs"), "journal:?dir=" + std::string(here) + "/logs");

    // Values of any bytes come back as they went in.
    JournalQuery query;
    query.host = "web 1&dir=/etc?%";
    query.identifiers = {"a=b", "\xC3\xA9t\xC3\xA9"};
    query.units = {"x@1.service"};
    query.maxPriority = 0;
    query.thisBoot = true;
    query.folder = "/srv/j #1";
    std::u16string name = FormatJournalName(query);
    JournalQuery read;
    std::u16string error;
    ASSERT_TRUE(ParseJournalName(name, read, error)) << platform::Utf16ToUtf8(error);
    EXPECT_EQ(read, query) << platform::Utf16ToUtf8(name);
}

TEST(JournalNameTest, NamesThatCannotBeReadSayWhy) {
    struct Case {
        const char* name;
        const char* told;
    } cases[] = {
        {"journal:?unit=a&colour=red", "\"colour\""},
        {"journal:?priority=8", "\"priority\""},
        {"journal:?priority=", "\"priority\" empty"},
        {"journal:?priority=1&priority=2", "twice"},
        {"journal:?boot=yes", "\"boot\""},
        {"journal:?unit=", "\"unit\" empty"},
        {"journal:?host=%4", "percent"},
        {"journal:?host=%zz", "percent"},
        {"journal:?host=a%00b", "zero"},
        {"journal:ssh.service", "journal:?unit="},
        {"journal", "journal:?unit="},
    };
    for (const Case& c : cases) {
        JournalQuery query;
        query.host = "left over";
        std::u16string error;
        EXPECT_FALSE(ParseJournalName(platform::Utf8ToUtf16(c.name), query, error)) << c.name;
        std::string message = platform::Utf16ToUtf8(error);
        EXPECT_NE(message.find(c.told), std::string::npos) << c.name << ": " << message;
        EXPECT_NE(message.find(c.name), std::string::npos) << message;
        EXPECT_EQ(query, JournalQuery{}) << c.name;
    }

    // Only names of stream sources make one; a bad one says why.
    std::u16string error;
    std::unique_ptr<streams::IStreamSource> source =
        streams::CreateStreamSource(u"journal:?unit=ssh&priority=4", error);
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->Name(), u"journal:?priority=4&unit=ssh.service");
    EXPECT_EQ(streams::CreateStreamSource(u"/var/log/journal:x", error), nullptr);
    EXPECT_TRUE(error.empty());
    EXPECT_EQ(streams::CreateStreamSource(u"journal:?colour=red", error), nullptr);
    EXPECT_FALSE(error.empty());

    // Any text: a name is read and comes back the same, or it is refused
    // with a message.
    std::mt19937 random(27);
    const std::string alphabet = "journal:?=&%0A7fz/.-@ \xC3\xA9\x01unitdirhostpriorityboot";
    for (int round = 0; round < 20000; ++round) {
        std::string name = round % 2 ? "journal:?" : "";
        for (int i = random() % 40; i > 0; --i) name += alphabet[random() % alphabet.size()];
        JournalQuery query;
        std::u16string error;
        if (!ParseJournalName(platform::Utf8ToUtf16(name), query, error)) {
            EXPECT_FALSE(error.empty()) << name;
            continue;
        }
        JournalQuery again;
        ASSERT_TRUE(ParseJournalName(FormatJournalName(query), again, error)) << name;
        EXPECT_EQ(again, query) << name;
    }
}

}  // namespace
}  // namespace streams_test
