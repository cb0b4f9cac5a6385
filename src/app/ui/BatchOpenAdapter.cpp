#include "app/ui/BatchOpenAdapter.h"

#include "app/TarvikApp.h"
#include "discovery/BatchOpen.h"
#include "discovery/FileSetRules.h"
#include "discovery/PathIdentity.h"

namespace app_ui {

CBatchOpenAdapter::CBatchOpenAdapter(app::CTarvikApp& app, core::IUserInterface& ui,
                                     Activate activate)
    : app_(app), ui_(ui), activate_(std::move(activate)) {}

core::CTarvikDoc* CBatchOpenAdapter::FindDocument(const std::u16string& path) const {
    // Documents keep their normal path; case tells files apart.
    const std::u16string wanted = discovery::NormalDocumentName(path);
    for (const auto& doc : app_.Documents()) {
        if (doc->GetPathName() == wanted) return doc.get();
    }
    return nullptr;
}

bool CBatchOpenAdapter::OpenDocumentQuietly(const std::u16string& path, int goToLine) {
    if (core::CTarvikDoc* open = FindDocument(path)) {
        if (activate_) activate_(*open);
        return true;
    }
    app_.SetReportOpenFailure(false);
    app_.SetPendingGoToLine(goToLine);
    core::CTarvikDoc* doc = app_.OpenDocument(path);
    app_.SetPendingGoToLine(-1);
    app_.SetReportOpenFailure(true);
    if (doc && activate_) activate_(*doc);
    return doc != nullptr;
}

bool CBatchOpenAdapter::GoToLineInOpenDocument(const std::u16string& path, int line) {
    core::CTarvikDoc* doc = FindDocument(path);
    if (!doc) return false;
    if (activate_) activate_(*doc);
    if (doc->GetView()) doc->GetView()->PostGoToLine(line);
    return true;
}

void CBatchOpenAdapter::OpenFileSet(const std::u16string& name, int goToLine) {
    const std::vector<std::u16string> members = app_.LoadFileSet(name);
    if (members.empty()) {
        ui_.ShowMessage(discovery::UndefinedFileSetMessage(name), core::MessageIcon::None);
        return;
    }
    discovery::OpenBatch(members, *this, goToLine);
}

void CBatchOpenAdapter::ReportBatchFailures(const std::u16string& message) {
    ui_.ShowMessage(message, core::MessageIcon::Exclamation);
}

void CBatchOpenAdapter::StartDebugCapture() {
    app_.StartCapture();
}

}  // namespace app_ui
