#pragma once
// What opening several files at once needs of the application. The
// application implements it with its documents and message boxes; tests with
// a fake.

#include <string>

namespace discovery {

class IBatchOpenTarget {
public:
    virtual ~IBatchOpenTarget() = default;
    // Opens path as a document, or activates the one already open for it, with
    // no report of its own on failure. A new document goes to goToLine when that
    // is positive.
    virtual bool OpenDocumentQuietly(const std::u16string& path, int goToLine) = 0;
    // Sends the document open for path (compared without regard to case) to
    // line; false when no such document is open.
    virtual bool GoToLineInOpenDocument(const std::u16string& path, int line) = 0;
    // Activates the debug-output capture document, creating it when needed.
    virtual void StartDebugCapture() = 0;
    // Opens a named file set; the set reports its own failures.
    virtual void OpenFileSet(const std::u16string& name, int goToLine) = 0;
    // Shows the one failure report of a batch (exclamation icon).
    virtual void ReportBatchFailures(const std::u16string& message) = 0;
};

}  // namespace discovery
