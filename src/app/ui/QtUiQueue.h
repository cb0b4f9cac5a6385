#pragma once
// Carries closures from worker threads to the user-interface thread through
// Qt's event loop. Tasks still queued when the queue goes away are dropped.

#include <QObject>
#include <functional>

#include "platform/IUiQueue.h"

namespace app_ui {

class CQtUiQueue : public platform::IUiQueue {
public:
    // Construct on the user-interface thread: tasks run on the thread that
    // created the queue.
    CQtUiQueue() = default;
    void Post(std::function<void()> task) override;

private:
    QObject receiver_;
};

}  // namespace app_ui
