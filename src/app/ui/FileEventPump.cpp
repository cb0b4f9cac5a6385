#include "app/ui/FileEventPump.h"

#include <QSocketNotifier>

#include "app/TarvikApp.h"

namespace app_ui {

CFileEventPump::CFileEventPump(app::CTarvikApp& app, QObject* parent) : QObject(parent), app_(app) {
    due_.setSingleShot(true);
    due_.setTimerType(Qt::PreciseTimer);
    connect(&due_, &QTimer::timeout, this, [this] {
        app_.RunDueEventPolls();
        ArmDuePoll();
    });
    const int descriptor = app_.FileEventDescriptor();
    if (descriptor < 0) return;
    notifier_ = new QSocketNotifier(descriptor, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        app_.OnFileEvents();
        ArmDuePoll();
    });
}

void CFileEventPump::Stop() {
    due_.stop();
    if (notifier_) notifier_->setEnabled(false);
}

bool CFileEventPump::IsListening() const {
    return notifier_ && notifier_->isEnabled();
}

void CFileEventPump::ArmDuePoll() {
    const auto delay = app_.NextEventPollDelay();
    if (!delay) {
        due_.stop();
        return;
    }
    due_.start(static_cast<int>(delay->count()));
}

}  // namespace app_ui
