// The decisions of the poll and of the initial load, made without files.

#include <gtest/gtest.h>

#include "core/PollFinding.h"
#include "core/TailWindow.h"

namespace {

using core::PollFinding;
using core::TextEncoding;

core::PollFacts Facts(std::uint64_t size, std::uint64_t position) {
    core::PollFacts facts;
    facts.hasHandle = true;
    facts.pathSize = size;
    facts.readPosition = position;
    facts.pathIdentity = {1, 7};
    facts.handleIdentity = {1, 7};
    return facts;
}

TEST(PollFindingTest, SizeAgainstPosition) {
    EXPECT_EQ(ClassifyPoll(Facts(10, 5)), PollFinding::Grew);
    EXPECT_EQ(ClassifyPoll(Facts(5, 5)), PollFinding::Unchanged);
    // The same file, shorter by any amount: it was cut in place.
    EXPECT_EQ(ClassifyPoll(Facts(4000, 4001)), PollFinding::Truncated);
    EXPECT_EQ(ClassifyPoll(Facts(0, 700)), PollFinding::Truncated);
    EXPECT_EQ(ClassifyPoll(Facts(4000, 5025)), PollFinding::Truncated);
    // Without the identities the size alone decides, with its tolerance.
    core::PollFacts unknown = Facts(4000, 5024);
    unknown.handleIdentity = {};
    EXPECT_EQ(ClassifyPoll(unknown), PollFinding::ShrunkTolerated);
    core::PollFacts closed;
    EXPECT_EQ(ClassifyPoll(closed), PollFinding::NoHandle);
}

TEST(PollFindingTest, AnotherFileAtThePathIsAReplacementWhateverItsSize) {
    core::PollFacts facts = Facts(50000, 100);
    facts.pathIdentity = {1, 8};
    EXPECT_EQ(ClassifyPoll(facts), PollFinding::Replaced);
    facts.pathSize = 100;
    EXPECT_EQ(ClassifyPoll(facts), PollFinding::Replaced);
    // A path that names nothing has no identity: the size (0) decides.
    facts.pathIdentity = {};
    facts.pathSize = 0;
    EXPECT_EQ(ClassifyPoll(facts), PollFinding::ShrunkTolerated);
    facts.readPosition = 2000;
    EXPECT_EQ(ClassifyPoll(facts), PollFinding::Truncated);
}

TEST(TailWindowTest, Utf16TakesHalfTheLimitWithAnEvenDistance) {
    const core::TailLimit limit{true, 20971520};
    EXPECT_EQ(TailStart(104857600, 0, limit, TextEncoding::Utf16Le), 104857600u - 10485760u);
    // Below the limit everything is loaded, after the byte-order mark.
    EXPECT_EQ(TailStart(15000000, 2, limit, TextEncoding::Utf16Le), 2u);
    // Half of 1026 is 513, an odd distance: the last 512 bytes.
    EXPECT_EQ(TailStart(4000, 0, {true, 1026}, TextEncoding::Utf16Le), 3488u);
    EXPECT_EQ(TailStart(4000, 0, {false, 1026}, TextEncoding::Utf16Le), 0u);
    EXPECT_EQ(TailStart(1100, 1000, {true, 1026}, TextEncoding::Utf16Le), 1000u);
}

TEST(TailWindowTest, Utf8TakesAQuarterOfTheLimitInBytes) {
    EXPECT_EQ(TailStart(4000, 0, {true, 1026}, TextEncoding::Utf8), 4000u - 256u);
    EXPECT_EQ(TailStart(500, 3, {true, 1026}, TextEncoding::Utf8), 3u);
}

}  // namespace
