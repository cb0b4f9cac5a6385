#pragma once
// The "write to file" action of highlight filters: a matched line appended to
// a UTF-16LE file, optionally behind the time and the followed file's name.

#include <span>
#include <string>
#include <string_view>

#include "platform/File.h"
#include "platform/IClock.h"

namespace filters {

// A file some document follows: the document's (absolute, normal) path and,
// while the document has it open, the file itself.
struct FollowedFile {
    std::u16string path;
    platform::FileIdentity file;
};

// "Tue Dec 08 21:55:03 2026": English day and month names, two-digit day
// and time, four-digit year; always 24 characters.
std::u16string MatchedLineTimestamp(const platform::LocalTime& time);

// The record written for a line: "[time] " when asked, then "[file name] "
// when asked, the line and CR LF. The file name is what follows the last
// slash of the document's path.
std::u16string MatchedLineRecord(std::u16string_view documentPath, std::u16string_view line,
                                 bool includeFileName, bool includeTimestamp,
                                 const platform::LocalTime& now);

// Appends the record to filePath (made absolute and normal), making the file
// (with FF FE) when missing. Nothing is written into the document's own
// path or any followed file, under whatever name, link or hard link it is
// reached, so a filter never feeds a file that is followed. False when
// nothing was written; failures are not reported here.
bool WriteMatchedLine(std::u16string_view documentPath, std::u16string_view filePath,
                      std::u16string_view line, bool includeFileName, bool includeTimestamp,
                      const platform::LocalTime& now, std::span<const FollowedFile> followed = {});

}  // namespace filters
