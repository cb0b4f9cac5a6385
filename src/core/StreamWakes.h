#pragma once
// The wake descriptors of stream documents (the journal's change
// notification), gathered with the file events' descriptor into one that the
// host's event loop watches: a stream document takes its new text when its
// source tells of a change, not only at the next tick.

#include <utility>
#include <vector>

#include "core/Monitoring.h"
#include "platform/ReadinessSet.h"

namespace core {

class CStreamWakes {
public:
    // fileEvents: the file events' descriptor, watched beside the streams'
    // (-1 for none).
    explicit CStreamWakes(int fileEvents);

    // The one descriptor for the host to watch; the file events' own when
    // the system gave no set.
    int Descriptor() const;

    // Brings the set in line with the stream documents' descriptors (after
    // an opening, a reload or a closing; cheap when nothing changed).
    void Sync(const DocumentList& documents);

    // What is ready now: whether the file events' descriptor is among it, and
    // each woken stream document takes what its source brought (under the
    // budget). The woken documents are in Woken().
    bool TakeReady(const CPollBudget& budget);
    const std::vector<CTarvikDoc*>& Woken() const { return woken_; }

    // A stream document left with more ready than its turn took is given
    // another turn soon, as a file's backlog is, without waiting for the
    // next tick; the user-interface thread paints and answers in between.
    bool AnyBacklog() const;
    // Gives those documents their turn; they are in Woken() then.
    void TakeBacklogs(const CPollBudget& budget);

private:
    int fileEvents_;
    platform::CReadinessSet set_;
    // The stream documents' descriptors, few; a tick over many file
    // documents builds nothing.
    std::vector<std::pair<int, CTarvikDoc*>> byDescriptor_;
    std::vector<std::pair<int, CTarvikDoc*>> wanted_;
    std::vector<int> ready_;
    std::vector<CTarvikDoc*> woken_;
};

}  // namespace core
