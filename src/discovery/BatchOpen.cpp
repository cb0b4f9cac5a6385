#include "discovery/BatchOpen.h"

#include "discovery/CommandLine.h"
#include "platform/ReadAccess.h"

namespace discovery {

namespace {

void ReportIfAnyFailed(const std::vector<std::u16string>& failed, IBatchOpenTarget& target) {
    if (!failed.empty()) target.ReportBatchFailures(BatchFailureMessage(failed));
}

}  // namespace

std::u16string BatchFailureMessage(const std::vector<std::u16string>& failedPaths) {
    if (failedPaths.empty()) return {};
    std::u16string message = u"Failed to load the following file(s).\n\n";
    for (const std::u16string& path : failedPaths) {
        message += path;
        // A file that is there but cannot be read says why (permission
        // denied, say), as the path alone does not.
        const std::u16string reason = platform::UnreadableReason(path);
        if (!reason.empty()) message += u" (" + reason + u")";
        message += u'\n';
    }
    return message;
}

std::vector<std::u16string> OpenBatch(const std::vector<std::u16string>& paths,
                                      IBatchOpenTarget& target, int goToLine) {
    std::vector<std::u16string> failed;
    for (const std::u16string& path : paths) {
        if (!target.OpenDocumentQuietly(path, goToLine)) failed.push_back(path);
    }
    ReportIfAnyFailed(failed, target);
    return failed;
}

int OpenCommandLineFiles(const std::vector<std::u16string>& argv, IBatchOpenTarget& target) {
    if (argv.empty()) return 0;
    std::vector<std::u16string> failed;
    for (const CommandLineStep& step : ParseCommandLine(argv)) {
        switch (step.kind) {
            case CommandLineStep::Kind::CaptureDebugOutput:
                target.StartDebugCapture();
                break;
            case CommandLineStep::Kind::OpenFileSet:
                target.OpenFileSet(step.text, step.goToLine);
                break;
            case CommandLineStep::Kind::OpenFile:
                if (step.goToLine > 0 && target.GoToLineInOpenDocument(step.text, step.goToLine)) {
                    break;
                }
                if (!target.OpenDocumentQuietly(step.text, step.goToLine)) {
                    failed.push_back(step.text);
                }
                break;
        }
    }
    ReportIfAnyFailed(failed, target);
    return 1;
}

}  // namespace discovery
