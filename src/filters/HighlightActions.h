#pragma once
// The actions of highlight filters: when a filter's phrase occurs in a line
// newly appended to a document, it may start a program, print the line,
// append it to a file and send a notification e-mail. Lines read when a file
// is opened or reloaded run none of them.

#include <functional>
#include <string_view>
#include <vector>

#include "filters/ActionThrottle.h"
#include "filters/HighlightDocumentRef.h"
#include "filters/HighlightFilters.h"
#include "filters/IDesktopNotice.h"
#include "filters/IHighlightMail.h"
#include "filters/IHighlightWebHook.h"
#include "filters/IPrinter.h"
#include "filters/MatchedLineFile.h"
#include "platform/IClock.h"
#include "settings/LogFont.h"

namespace filters {

// What the actions need to know of the document whose lines matched.
struct ActionDocument {
    DocumentRef ref = nullptr;
    // The path as the document names it; "OutputDebugString" for the capture.
    std::u16string_view path;
    // The path folded with FoldAsciiLower, for filters restricted to one file.
    std::u16string_view foldedPath;
    // The name e-mails give the log: the path, or the capture's title.
    std::u16string_view logName;
    // The document's line at an index (0-based), for matched and previous lines.
    std::function<std::u16string_view(int line)> lineAt;
    // The log view's font, copied into print jobs.
    settings::LogFont font;
};

// Where the actions go beyond this layer. Without a printer print jobs are
// dropped; without mail, web hook or desktop that step is left out (a
// program without a desktop has none). Without a throttle
// nothing limits the programs started at once.
struct HighlightActionPorts {
    const platform::IClock& clock;
    IHighlightMail* mail = nullptr;
    // The web hook step and desktop notifications; each left out without one.
    IHighlightWebHook* webHook = nullptr;
    IDesktopNotice* desktop = nullptr;
    IPrinter* printer = nullptr;
    CActionThrottle* throttle = nullptr;
    // Every file a document follows now, asked for when a line is to be
    // written to a file; none when not given.
    std::function<std::vector<FollowedFile>()> followedFiles;
};

// Runs the actions of the enabled filters with an action for lines first to
// last (inclusive; the first may be the line the new text completed). Each
// matching filter acts once per line, in list order: program, print text,
// file, e-mail, web hook, desktop notification. All printing of one call goes into one job. A
// program that cannot start or a line that cannot be written is told on standard error only:
// through the debug output it could come back as a captured line and set off the same action again.
void RunHighlightActions(CHighlightFilters& filters, const ActionDocument& document, int firstLine,
                         int lastLine, const HighlightActionPorts& ports);

}  // namespace filters
