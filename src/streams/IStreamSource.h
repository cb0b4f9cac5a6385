#pragma once
// What a document needs of a source that hands text over as it comes (the
// debug-output capture, the journal, commands, remote files and journals), as
// opposed to a file it reads by position. A source never blocks the
// user-interface thread: it hands over only what is ready, in pieces no
// larger than the poll budget, and tells the event loop when to ask again.

#include <cstddef>
#include <string>

namespace streams {

// Where a source hands its text: the document's intake.
class IStreamIntake {
public:
    virtual ~IStreamIntake() = default;
    // Whole messages or lines, not yet normalised; the intake may change
    // the units in place. ownText: sent by this program itself, shown but
    // running no actions.
    virtual void TakeText(char16_t* text, std::size_t units, bool ownText) = 0;
    // Lines of the tail at open that came after Open (over a network): shown
    // as the tail is, running no actions and raising no signals.
    virtual void TakeTailText(char16_t* text, std::size_t units) { TakeText(text, units, true); }
};

class IStreamSource {
public:
    virtual ~IStreamSource() = default;

    // The one text the recent list, file sets, titles and the command line
    // carry for this source (a file path is never one).
    virtual std::u16string Name() const = 0;

    // Connects and makes the newest text that fits in tailUnits ready, as a
    // file's tail at open. False, with a message for the user in error, when
    // the source cannot be read at all.
    virtual bool Open(std::size_t tailUnits, std::u16string& error) = 0;

    // Appends whole lines, each ending in "\r\n", to out: at most maxUnits,
    // except that a single line longer than that is handed over alone, so a
    // call always makes progress. Never blocks. True when more is ready than
    // was handed over, so the caller asks again at its next turn.
    virtual bool Take(std::u16string& out, std::size_t maxUnits) = 0;
    // Hands what Take would to intake, in one or more pieces; true when more
    // is ready than was handed over.
    virtual bool Deliver(IStreamIntake& intake, std::size_t maxUnits);

    // A descriptor the event loop watches for reading; -1 when the source
    // is asked only at each tick. When it is readable, call ProcessWake.
    // Open and Restart may change it, so ask again after either.
    virtual int WakeDescriptor() const = 0;
    // Takes the change the wake descriptor told of, so it stops being
    // readable and Take sees what the change brought.
    virtual void ProcessWake() = 0;

    // Something the user should be told once (for example why entries may
    // be missing); empty when nothing, and empty after it was taken.
    virtual std::u16string TakeNotice() = 0;

    // Starts over as at Open: drops what is ready and makes the tail ready
    // again, for Reload.
    virtual bool Restart(std::size_t tailUnits, std::u16string& error) = 0;

    // The folder Browse shows; empty when the source has none.
    virtual std::u16string Folder() const = 0;

    // What the title adds to the name (for example that a command ended);
    // empty for nothing.
    virtual std::u16string Status() const { return {}; }
};

}  // namespace streams
