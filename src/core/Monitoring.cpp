#include "core/Monitoring.h"

namespace core {

void PollDocuments(const DocumentList& documents, const CPollBudget& budget,
                   const TickSkip& leftToEvents) {
    for (const auto& doc : documents) {
        if (doc->IsMonitoring()) {
            if (doc->IsStreamDocument()) {
                doc->TakeStreamText(budget);
            } else if (leftToEvents && leftToEvents(*doc)) {
                doc->CheckStopUpdating();
            } else {
                doc->CheckFile(budget);
            }
        }
        // What the polls since the last tick read shows in the title once.
        doc->TellTitleChange();
    }
}

void SetMonitoringAll(const DocumentList& documents, bool on) {
    for (const auto& doc : documents) doc->SetMonitoring(on);
}

void GoToEndOfAll(const DocumentList& documents) {
    for (const auto& doc : documents) {
        if (ILogView* view = doc->GetView()) view->PostGoToEnd();
    }
}

}  // namespace core
