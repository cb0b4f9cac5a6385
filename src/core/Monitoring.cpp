#include "core/Monitoring.h"

namespace core {

void PollDocuments(const DocumentList& documents, const CPollBudget& budget) {
    for (const auto& doc : documents) {
        if (!doc->IsMonitoring()) continue;
        if (doc->IsCaptureMode()) {
            doc->FlushCapturedText();
        } else {
            doc->CheckFile(budget);
        }
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
