#include "app/ui/QtUiQueue.h"

#include <QMetaObject>

namespace app_ui {

void CQtUiQueue::Post(std::function<void()> task) {
    if (!task) return;
    QMetaObject::invokeMethod(&receiver_, std::move(task), Qt::QueuedConnection);
}

}  // namespace app_ui
