#include "filters/LegacyHighlightFilterRecord.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

namespace filters {

namespace {

using Record = std::array<std::uint8_t, LegacyHighlightFilterRecord::kSize>;

std::uint32_t GetUint32(const Record& record, std::size_t offset) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value |= static_cast<std::uint32_t>(record[offset + i]) << (8 * i);
    }
    return value;
}

void PutUint32(Record& record, std::size_t offset, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        record[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

bool GetFlag(const Record& record, std::size_t offset) {
    return GetUint32(record, offset) != 0;
}

std::u16string GetText(const Record& record, std::size_t offset, std::size_t bytes) {
    std::u16string text;
    for (std::size_t at = offset; at + 1 < offset + bytes; at += 2) {
        const auto ch = static_cast<char16_t>(record[at] | (record[at + 1] << 8));
        if (ch == u'\0') break;
        text.push_back(ch);
    }
    return text;
}

void PutText(Record& record, std::size_t offset, std::size_t bytes, std::u16string_view text) {
    const std::size_t maxChars = bytes / 2 - 1;
    const std::size_t count = std::min(text.size(), maxChars);
    for (std::size_t i = 0; i < count; ++i) {
        record[offset + 2 * i] = static_cast<std::uint8_t>(text[i]);
        record[offset + 2 * i + 1] = static_cast<std::uint8_t>(text[i] >> 8);
    }
}

using L = LegacyHighlightFilterRecord;

}  // namespace

HighlightFilter LegacyHighlightFilterRecord::Decode(std::span<const std::uint8_t> data) {
    Record record{};
    std::copy_n(data.begin(), std::min(data.size(), kSize), record.begin());

    HighlightFilter filter;
    filter.TextColor = GetUint32(record, L::kTextColor);
    filter.BkgColor = GetUint32(record, L::kBkgColor);
    filter.phrase.Assign(GetText(record, L::kText, L::kTextBytes), false, false);
    filter.SendEmail = GetFlag(record, L::kSendEmail);
    filter.SendFirstOccured = GetFlag(record, L::kSendFirstOccured);
    filter.Emails = GetText(record, L::kEmails, L::kEmailsBytes);
    filter.WriteFile = GetFlag(record, L::kWriteFile);
    filter.IncludeFileName = GetFlag(record, L::kIncludeFileName);
    filter.WrittenFile = GetText(record, L::kWrittenFile, L::kWrittenFileBytes);
    filter.PrintLineToDefaultPrinter = GetFlag(record, L::kPrintLineToDefaultPrinter);
    filter.ExecuteProgram = GetFlag(record, L::kExecuteProgram);
    filter.ExecutableProgram = GetText(record, L::kExecutableProgram, L::kExecutableProgramBytes);
    filter.ActionsOnlyAvailableInSpecialFile =
        GetFlag(record, L::kActionsOnlyAvailableInSpecialFile);
    filter.SetAvailableFile(GetText(record, L::kAvailableFile, L::kAvailableFileBytes));
    filter.Enable = data.size() <= kSizeWithoutEnable || GetFlag(record, L::kEnable);
    filter.IncludeTimestamp = GetFlag(record, L::kIncludeTimestamp);
    filter.HighlightEntireLine = GetFlag(record, L::kHighlightEntireLine);
    filter.AttachPreviousLinesWithEmail =
        static_cast<std::int32_t>(GetUint32(record, L::kAttachPreviousLinesWithEmail));
    filter.SyncNotifiedDocuments();
    return filter;
}

std::vector<std::uint8_t> LegacyHighlightFilterRecord::Encode(const HighlightFilter& filter) {
    Record record{};
    PutUint32(record, L::kTextColor, filter.TextColor);
    PutUint32(record, L::kBkgColor, filter.BkgColor);
    PutText(record, L::kText, L::kTextBytes, filter.phrase.text);
    PutUint32(record, L::kSendEmail, filter.SendEmail);
    PutUint32(record, L::kSendFirstOccured, filter.SendFirstOccured);
    PutText(record, L::kEmails, L::kEmailsBytes, filter.Emails);
    PutUint32(record, L::kWriteFile, filter.WriteFile);
    PutUint32(record, L::kIncludeFileName, filter.IncludeFileName);
    PutText(record, L::kWrittenFile, L::kWrittenFileBytes, filter.WrittenFile);
    PutUint32(record, L::kPrintLineToDefaultPrinter, filter.PrintLineToDefaultPrinter);
    PutUint32(record, L::kExecuteProgram, filter.ExecuteProgram);
    PutText(record, L::kExecutableProgram, L::kExecutableProgramBytes, filter.ExecutableProgram);
    PutUint32(record, L::kActionsOnlyAvailableInSpecialFile,
              filter.ActionsOnlyAvailableInSpecialFile);
    PutText(record, L::kAvailableFile, L::kAvailableFileBytes, filter.AvailableFile);
    PutUint32(record, L::kEnable, filter.Enable);
    PutUint32(record, L::kIncludeTimestamp, filter.IncludeTimestamp);
    PutUint32(record, L::kHighlightEntireLine, filter.HighlightEntireLine);
    PutUint32(record, L::kAttachPreviousLinesWithEmail,
              static_cast<std::uint32_t>(filter.AttachPreviousLinesWithEmail));
    return {record.begin(), record.end()};
}

}  // namespace filters
