#include "filters/MatchedLineFile.h"

#include <array>
#include <cstdio>
#include <vector>

#include "platform/CodePage.h"
#include "platform/NormalPath.h"
#include "platform/Utf16AppendFile.h"

namespace filters {

namespace {

constexpr std::array<const char*, 7> kDays = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr std::array<const char*, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

}  // namespace

std::u16string MatchedLineTimestamp(const platform::LocalTime& time) {
    const int day = (time.dayOfWeek % 7 + 7) % 7;
    const int month = time.month >= 1 && time.month <= 12 ? time.month - 1 : 0;
    char text[64];
    std::snprintf(text, sizeof text, "%s %s %02d %02d:%02d:%02d %04d", kDays[day], kMonths[month],
                  time.day, time.hour, time.minute, time.second, time.year);
    return platform::Utf8ToUtf16(text);
}

std::u16string MatchedLineRecord(std::u16string_view documentPath, std::u16string_view line,
                                 bool includeFileName, bool includeTimestamp,
                                 const platform::LocalTime& now) {
    std::u16string record;
    if (includeTimestamp) record += u"[" + MatchedLineTimestamp(now) + u"] ";
    if (includeFileName) {
        record += u"[";
        record += platform::ShortName(documentPath);
        record += u"] ";
    }
    record += line;
    record += u"\r\n";
    return record;
}

bool WriteMatchedLine(std::u16string_view documentPath, std::u16string_view filePath,
                      std::u16string_view line, bool includeFileName, bool includeTimestamp,
                      const platform::LocalTime& now, std::span<const FollowedFile> followed) {
    if (filePath.empty()) return false;
    const std::u16string target = platform::NormalPath(filePath);
    // A followed file that is missing now is known by its path alone.
    if (target == documentPath) return false;
    std::vector<platform::FileIdentity> refused;
    for (const FollowedFile& file : followed) {
        if (file.path == target) return false;
        if (file.file.IsKnown()) refused.push_back(file.file);
    }
    platform::CUtf16AppendFile file;
    if (!file.Open(platform::Utf16ToUtf8(target), 0644, refused)) return false;
    return file.Append(
        MatchedLineRecord(documentPath, line, includeFileName, includeTimestamp, now));
}

}  // namespace filters
