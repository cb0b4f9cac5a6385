#pragma once
// Prints the matched lines of highlight actions on the default printer,
// without a dialog: one page per job with the document's path and the time
// in a header band and the lines below, each job on a thread of its own that
// alone owns it. Without a default printer the job is dropped; so is a job
// while as many as the actions may run at once are printing.

#include <QFont>
#include <QString>

#include <atomic>
#include <list>
#include <memory>
#include <thread>

#include "filters/IPrinter.h"
#include "platform/IClock.h"

class QPrinter;

namespace filters_ui {

class CMatchedLinePrinter final : public filters::IPrinter {
public:
    explicit CMatchedLinePrinter(const platform::IClock& clock);
    // Waits for the jobs still printing.
    ~CMatchedLinePrinter() override;
    CMatchedLinePrinter(const CMatchedLinePrinter&) = delete;
    CMatchedLinePrinter& operator=(const CMatchedLinePrinter&) = delete;

    bool Print(filters::PrintJob job) override;

    // The page of a job on printer, in font (sized for the screen): the
    // header band of two text rows (path on the left, now on the right, a
    // rule under the first row) inside 10 mm margins, then the lines,
    // wrapped, tabs expanded, as far as the page goes. False when the
    // printer cannot be painted on.
    static bool PrintMatchedLines(const filters::PrintJob& job, const QFont& font,
                                  const platform::LocalTime& now, QPrinter& printer);
    // "12/8/2026 21:55:3": month, day, year, hour, minute, second, no zeros.
    static QString HeaderTime(const platform::LocalTime& time);

private:
    struct Worker {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> ended;
    };
    void JoinEndedWorkers();

    const platform::IClock& clock_;
    std::list<Worker> workers_;
};

}  // namespace filters_ui
