#pragma once
// Brings the file events of followed files to the user-interface thread: the
// application's event descriptor is watched by a socket notifier, and a poll
// held back by the coalescing gap runs from a single-shot timer. The refresh
// timer of the main frame stays the longest wait.

#include <QObject>
#include <QTimer>

class QSocketNotifier;

namespace app {
class CTarvikApp;
}

namespace app_ui {

class CFileEventPump final : public QObject {
public:
    CFileEventPump(app::CTarvikApp& app, QObject* parent);

    // Stops reacting to events (the frame is closing).
    void Stop();
    bool IsListening() const;
    bool HasDuePoll() const { return due_.isActive(); }
    // Starts the timer for the next poll held back, if any: after events, and
    // after a refresh tick that left a backlog to read.
    void ArmDuePoll();

private:
    app::CTarvikApp& app_;
    QSocketNotifier* notifier_ = nullptr;
    QTimer due_;
};

}  // namespace app_ui
