#pragma once
// "Set Refresh Rate": the period of the monitoring timer in milliseconds.
// OK hands the typed text to the application, which refuses anything but a
// positive number (the dialog then stays open) and restarts the timer when
// the period changed.

#include <QDialog>

#include "app/TarvikApp.h"

class QSpinBox;

namespace app_ui {

class CRefreshRateDialog : public QDialog {
    Q_OBJECT
public:
    explicit CRefreshRateDialog(app::CTarvikApp& app, QWidget* parent = nullptr);

    // What became of the last OK.
    app::RefreshRateResult Result() const { return result_; }
    QSpinBox* RateBox() const { return rate_; }

public slots:
    void accept() override;

private:
    app::CTarvikApp& app_;
    QSpinBox* rate_ = nullptr;
    app::RefreshRateResult result_ = app::RefreshRateResult::Unchanged;
};

}  // namespace app_ui
