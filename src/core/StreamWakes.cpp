#include "core/StreamWakes.h"

#include <algorithm>

namespace core {

CStreamWakes::CStreamWakes(int fileEvents) : fileEvents_(fileEvents) {
    if (fileEvents_ >= 0) set_.Add(fileEvents_);
}

int CStreamWakes::Descriptor() const {
    return set_.Descriptor() >= 0 ? set_.Descriptor() : fileEvents_;
}

void CStreamWakes::Sync(const DocumentList& documents) {
    wanted_.clear();
    for (const auto& doc : documents) {
        if (!doc->IsStreamDocument()) continue;
        const int descriptor = doc->StreamWakeDescriptor();
        if (descriptor >= 0) wanted_.emplace_back(descriptor, doc.get());
    }
    if (wanted_.empty() && byDescriptor_.empty()) return;
    for (const auto& [descriptor, doc] : byDescriptor_) {
        const bool kept = std::any_of(wanted_.begin(), wanted_.end(), [descriptor](const auto& w) {
            return w.first == descriptor;
        });
        if (!kept) set_.Remove(descriptor);
    }
    // Added again each time: a source that reopened (Reload) may have got
    // the same number for a new descriptor, which the set does not hold.
    for (const auto& [descriptor, doc] : wanted_) set_.Add(descriptor);
    byDescriptor_.swap(wanted_);
}

bool CStreamWakes::TakeReady(const CPollBudget& budget) {
    woken_.clear();
    // Without stream documents the file events' descriptor is all there is.
    if (set_.Descriptor() < 0 || byDescriptor_.empty()) return fileEvents_ >= 0;
    bool fileEvents = false;
    set_.Ready(ready_);
    for (const int descriptor : ready_) {
        if (descriptor == fileEvents_) {
            fileEvents = true;
            continue;
        }
        for (const auto& [watched, doc] : byDescriptor_) {
            if (watched != descriptor) continue;
            doc->OnStreamWake(budget);
            woken_.push_back(doc);
        }
    }
    return fileEvents;
}

bool CStreamWakes::AnyBacklog() const {
    for (const auto& [descriptor, doc] : byDescriptor_) {
        if (doc->HasBacklog() && doc->IsMonitoring()) return true;
    }
    return false;
}

void CStreamWakes::TakeBacklogs(const CPollBudget& budget) {
    woken_.clear();
    for (const auto& [descriptor, doc] : byDescriptor_) {
        if (!doc->HasBacklog() || !doc->IsMonitoring()) continue;
        doc->TakeStreamText(budget);
        woken_.push_back(doc);
    }
}

}  // namespace core
