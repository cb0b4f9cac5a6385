#pragma once
// The port through which highlight actions print matched lines on the
// default printer. The user interface implements it; a program without one
// has no printer and drops the jobs.

#include <string>

#include "settings/LogFont.h"

namespace filters {

// What one run of the highlight actions prints: one page.
struct PrintJob {
    // The document's path: the print job's name and the page's header.
    std::u16string documentPath;
    // The matched lines, each followed by CR LF.
    std::u16string text;
    // The log view's font at the time the lines matched.
    settings::LogFont font;
};

class IPrinter {
public:
    virtual ~IPrinter() = default;
    // Prints the job on a worker of its own, which alone owns it, and returns
    // at once. A job that cannot be printed (no default printer) is dropped.
    // False when the job was not taken: as many jobs as the actions may run
    // at once are printing, or no worker could be made.
    virtual bool Print(PrintJob job) = 0;
};

}  // namespace filters
