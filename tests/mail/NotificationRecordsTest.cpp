#include "mail/NotificationRecords.h"

#include <gtest/gtest.h>

#include <array>

#include "filters/HighlightFilterTakeOver.h"
#include "filters/HighlightTestFilters.h"
#include "mail/MailTestTime.h"

namespace mail {
namespace {

using filters::CHighlightFilters;
using filters::DocumentRef;
using filters::HighlightFilter;

int docAObject = 0;
int docBObject = 0;
const DocumentRef docA = &docAObject;
const DocumentRef docB = &docBObject;

HighlightFilter FirstOccurrenceMailer(std::u16string_view phrase) {
    HighlightFilter filter = filters::highlight_test::Filter(phrase, 1);
    filter.SendEmail = true;
    filter.Emails = u"ops@example.org";
    filter.SendFirstOccured = true;
    return filter;
}

NotificationRecord Record(std::u16string_view phrase, DocumentRef document,
                          std::uint32_t threadId = 0) {
    NotificationRecord record;
    record.threadId = threadId;
    record.requiresConfirmation = true;
    record.document = document;
    record.time = mail_test::SampleTime();
    record.filterText = phrase;
    record.logFile = u"/var/log/app.log";
    record.emails = u"ops@example.org";
    return record;
}

NotificationRecord FailedRecord(std::u16string_view phrase, DocumentRef document) {
    NotificationRecord record = Record(phrase, document);
    record.state = NotificationState::Failure;
    record.errorMessage = u"Miss email settings.";
    return record;
}

// Claims the first occurrence of filter index for document: true when it may send.
bool MaySend(CHighlightFilters& filters, std::size_t index, DocumentRef document) {
    return filters.ClaimFirstOccurrence(index, document);
}

TEST(NotificationRecords, RecordsMoveFromSendingToSentInOrderOfOutcome) {
    CNotificationRecords records;
    records.AddNotificationRecord(Record(u"a", docA, 11));
    records.AddNotificationRecord(Record(u"b", docA, 12));
    records.AddNotificationRecord(Record(u"c", docA, 13));
    records.AddNotificationRecord(FailedRecord(u"d", docA));
    ASSERT_EQ(records.Sending().size(), 3u);
    ASSERT_EQ(records.Sent().size(), 1u);
    EXPECT_EQ(records.Sent()[0].state, NotificationState::Failure);

    records.OnMailSent(12, "");
    records.OnMailSent(99, "unknown job");
    records.OnMailSent(11, "Failed to connect to SMTP server.");
    records.OnMailSent(11, "reported twice");

    ASSERT_EQ(records.Sending().size(), 1u);
    EXPECT_EQ(records.Sending()[0].filterText, u"c");
    ASSERT_EQ(records.Sent().size(), 3u);
    EXPECT_EQ(records.Sent()[1].filterText, u"b");
    EXPECT_EQ(records.Sent()[1].state, NotificationState::Success);
    EXPECT_TRUE(records.Sent()[1].errorMessage.empty());
    EXPECT_EQ(records.Sent()[2].filterText, u"a");
    EXPECT_EQ(records.Sent()[2].state, NotificationState::Failure);
    EXPECT_EQ(records.Sent()[2].errorMessage, u"Failed to connect to SMTP server.");
    EXPECT_TRUE(records.Sent()[2].requiresConfirmation) << "a failed send still waits";

    // Where nobody clears them, the oldest sent records go; the newest stay
    // in order and the sending ones are untouched.
    records.PruneSent(2);
    ASSERT_EQ(records.Sent().size(), 2u);
    EXPECT_EQ(records.Sent()[0].filterText, u"b");
    EXPECT_EQ(records.Sent()[1].filterText, u"a");
    EXPECT_EQ(records.Sending().size(), 1u);
    records.PruneSent(5);
    EXPECT_EQ(records.Sent().size(), 2u);
}

TEST(NotificationRecords, ErrorTextsArriveInTheSystemCodePage) {
    CNotificationRecords records;
    records.AddNotificationRecord(Record(u"a", docA, 5));
    records.OnMailSent(5, "550 Empf\xC3\xA4nger unbekannt");
    EXPECT_EQ(records.Sent().at(0).errorMessage, u"550 Empf\u00e4nger unbekannt");
}

TEST(NotificationRecords, ConfirmingReArmsOnlyTheFirstFilterWithThePhrase) {
    CHighlightFilters filters;
    filters.Replace({FirstOccurrenceMailer(u"other"), FirstOccurrenceMailer(u"ERROR"),
                     FirstOccurrenceMailer(u"ERROR"), FirstOccurrenceMailer(u"error")});
    for (std::size_t i = 0; i < 4; ++i) ASSERT_TRUE(MaySend(filters, i, docA));

    CNotificationRecords records;
    const std::uint64_t serial = records.AddNotificationRecord(FailedRecord(u"ERROR", docA));
    const std::array<std::uint64_t, 1> selected = {serial};
    EXPECT_EQ(records.Confirm(selected, filters), 1u);

    EXPECT_FALSE(MaySend(filters, 0, docA));
    EXPECT_TRUE(MaySend(filters, 1, docA)) << "the first filter with the phrase sends again";
    EXPECT_FALSE(MaySend(filters, 2, docA)) << "a later filter with the same phrase stays silent";
    EXPECT_FALSE(MaySend(filters, 3, docA)) << "phrases compare with case";
    EXPECT_FALSE(records.Sent()[0].requiresConfirmation);
    EXPECT_EQ(records.Sent().size(), 1u) << "a confirmed record stays in the sent list";
    EXPECT_EQ(records.Confirm(selected, filters), 0u);
}

TEST(NotificationRecords, ConfirmTouchesOnlySelectedSentRecordsThatWait) {
    CHighlightFilters filters;
    CNotificationRecords records;
    const std::uint64_t sending = records.AddNotificationRecord(Record(u"a", docA, 7));
    const std::uint64_t first = records.AddNotificationRecord(FailedRecord(u"a", docA));
    const std::uint64_t second = records.AddNotificationRecord(FailedRecord(u"b", docB));
    NotificationRecord unconfirmed = FailedRecord(u"c", docB);
    unconfirmed.requiresConfirmation = false;
    records.AddNotificationRecord(unconfirmed);
    ASSERT_EQ(records.AwaitingConfirmation().size(), 2u);

    const std::array<std::uint64_t, 2> selected = {sending, second};
    EXPECT_EQ(records.Confirm(selected, filters), 1u);
    EXPECT_TRUE(records.Sending()[0].requiresConfirmation)
        << "records still sending are never confirmed";
    ASSERT_EQ(records.AwaitingConfirmation().size(), 1u);
    EXPECT_EQ(records.AwaitingConfirmation()[0].serial, first);
}

TEST(NotificationRecords, ConfirmAllAndClearAllReArmEveryWaitingRecord) {
    CHighlightFilters filters;
    filters.Replace({FirstOccurrenceMailer(u"a"), FirstOccurrenceMailer(u"b")});
    ASSERT_TRUE(MaySend(filters, 0, docA));
    ASSERT_TRUE(MaySend(filters, 1, docB));
    CNotificationRecords records;
    records.AddNotificationRecord(FailedRecord(u"a", docA));
    records.AddNotificationRecord(Record(u"b", docB, 3));
    records.OnMailSent(3, "");
    records.AddNotificationRecord(Record(u"b", docA, 4));

    records.ClearAll(filters);
    EXPECT_TRUE(records.Sent().empty());
    EXPECT_EQ(records.Sending().size(), 1u) << "records still sending stay";
    EXPECT_TRUE(MaySend(filters, 0, docA));
    EXPECT_TRUE(MaySend(filters, 1, docB));

    records.AddNotificationRecord(FailedRecord(u"a", docA));
    records.AddNotificationRecord(FailedRecord(u"b", docB));
    EXPECT_EQ(records.ConfirmAll(filters), 2u);
    EXPECT_TRUE(records.AwaitingConfirmation().empty());
    EXPECT_EQ(records.Sent().size(), 2u);
    EXPECT_TRUE(MaySend(filters, 0, docA));
}

TEST(NotificationRecords, ClosedDocumentLeavesEveryRecord) {
    CHighlightFilters filters;
    filters.Replace({FirstOccurrenceMailer(u"a")});
    CNotificationRecords records;
    records.AddNotificationRecord(FailedRecord(u"a", docA));
    records.AddNotificationRecord(FailedRecord(u"a", docB));
    records.AddNotificationRecord(Record(u"a", docA, 8));

    records.ForgetDocument(docA);
    filters.ForgetDocument(docA);
    ASSERT_EQ(records.AwaitingConfirmation().size(), 1u);
    EXPECT_EQ(records.AwaitingConfirmation()[0].document, docB);

    // A record that was still sending completes after the close; a new
    // document that happens to get the same identity is not re-armed by it.
    records.OnMailSent(8, "Time out.");
    EXPECT_FALSE(records.Sent().back().requiresConfirmation);
    ASSERT_TRUE(MaySend(filters, 0, docA));
    records.ConfirmAll(filters);
    EXPECT_FALSE(MaySend(filters, 0, docA));
}

TEST(NotificationRecords, ReleasingAPhraseClearsBothLists) {
    CNotificationRecords records;
    records.AddNotificationRecord(FailedRecord(u"ERROR", docA));
    records.AddNotificationRecord(Record(u"ERROR", docB, 9));
    records.AddNotificationRecord(FailedRecord(u"error", docA));
    records.ReleaseRecordsOfPhrase(u"ERROR");
    EXPECT_FALSE(records.Sent()[0].requiresConfirmation);
    EXPECT_FALSE(records.Sending()[0].requiresConfirmation);
    EXPECT_TRUE(records.Sent()[1].requiresConfirmation);
}

TEST(NotificationRecords, TakeOverOfAModifiedFilterReleasesItsRecords) {
    CHighlightFilters filters;
    filters.Replace({FirstOccurrenceMailer(u"ERROR")});
    ASSERT_TRUE(MaySend(filters, 0, docA));
    CNotificationRecords records;
    records.AddNotificationRecord(FailedRecord(u"ERROR", docA));

    std::vector<filters::HighlightFilterEdit> rows = filters::MakeHighlightFilterEdits(filters);
    rows[0].filter.phrase.Assign(u"FATAL", false, false);
    rows[0].changeMark = filters::HighlightChangeMark::Modified;
    filters::TakeOverHighlightFilters(
        filters, std::move(rows),
        [&records](std::u16string_view phrase) { records.ReleaseRecordsOfPhrase(phrase); });
    EXPECT_TRUE(records.AwaitingConfirmation().empty());
}

TEST(NotificationRecords, CellTextsOfTheConfirmationDialog) {
    platform::LocalTime time = mail_test::SampleTime();
    time.hour = 7;
    EXPECT_EQ(FormatRecordTime(time), u"2010-03-02 07:32:21");
    EXPECT_EQ(RequiresConfirmationText(true), u"Yes");
    EXPECT_EQ(RequiresConfirmationText(false), u"No");
    EXPECT_EQ(SentResultText(NotificationState::Sending), u"Sending");
    EXPECT_EQ(SentResultText(NotificationState::Failure), u"Failure");
    EXPECT_EQ(SentResultText(NotificationState::Success), u"Success");
}

}  // namespace
}  // namespace mail
