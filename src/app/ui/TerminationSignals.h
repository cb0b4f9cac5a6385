#pragma once
// Turns SIGTERM, SIGINT and SIGHUP (a session ending, `kill`, Ctrl+C in the
// terminal that started the program) into a Qt signal on the UI thread, so the
// program closes as from its Exit command and keeps what it would save then.

#include <QObject>

class QSocketNotifier;

namespace app_ui {

class CTerminationSignals : public QObject {
    Q_OBJECT
public:
    // One instance at a time; the signals keep their default action
    // before it exists and after it is gone.
    explicit CTerminationSignals(QObject* parent = nullptr);
    ~CTerminationSignals() override;

signals:
    void terminationRequested();

private:
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace app_ui
