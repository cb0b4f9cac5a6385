#pragma once
// Opening several files at once with one error report: the File Open dialog's
// multiple selection, file sets, the recent-file dialog and command lines.

#include <string>
#include <vector>

#include "discovery/IBatchOpenTarget.h"

namespace discovery {

// "Failed to load the following file(s).\n\n" and each path followed by a
// line feed; empty when nothing failed.
std::u16string BatchFailureMessage(const std::vector<std::u16string>& failedPaths);

// Opens paths in order and reports every failure in one message. Returns the
// paths that failed, in order.
std::vector<std::u16string> OpenBatch(const std::vector<std::u16string>& paths,
                                      IBatchOpenTarget& target, int goToLine = -1);

// Runs a command line (argv[0] stands for the program name): files already
// open at a pending line are sent there instead of opened again; failed files
// are reported once at the end. Returns 0 for an empty argv, else 1.
int OpenCommandLineFiles(const std::vector<std::u16string>& argv, IBatchOpenTarget& target);

}  // namespace discovery
