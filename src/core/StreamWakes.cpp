#include "core/StreamWakes.h"

namespace core {

CStreamWakes::CStreamWakes(int fileEvents) : fileEvents_(fileEvents) {
    if (fileEvents_ >= 0) set_.Add(fileEvents_);
}

int CStreamWakes::Descriptor() const {
    return set_.Descriptor() >= 0 ? set_.Descriptor() : fileEvents_;
}

void CStreamWakes::Sync(const DocumentList& documents) {
    std::unordered_map<int, CTarvikDoc*> wanted;
    for (const auto& doc : documents) {
        const int descriptor = doc->StreamWakeDescriptor();
        if (descriptor >= 0) wanted.emplace(descriptor, doc.get());
    }
    for (const auto& [descriptor, doc] : byDescriptor_) {
        if (!wanted.contains(descriptor)) set_.Remove(descriptor);
    }
    // Added again each time: a source that reopened (Reload) may have got
    // the same number for a new descriptor, which the set does not hold.
    for (const auto& [descriptor, doc] : wanted) set_.Add(descriptor);
    byDescriptor_ = std::move(wanted);
}

bool CStreamWakes::TakeReady(const CPollBudget& budget) {
    woken_.clear();
    if (set_.Descriptor() < 0) return fileEvents_ >= 0;
    bool fileEvents = false;
    for (const int descriptor : set_.Ready()) {
        if (descriptor == fileEvents_) {
            fileEvents = true;
            continue;
        }
        const auto it = byDescriptor_.find(descriptor);
        if (it == byDescriptor_.end()) continue;
        it->second->OnStreamWake(budget);
        woken_.push_back(it->second);
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
