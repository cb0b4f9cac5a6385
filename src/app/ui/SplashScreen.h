#pragma once
// The picture shown for a moment while the main window comes up: a
// borderless window in the middle of the screen that goes away after 750 ms
// or at the first key press or mouse click.

#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace app_ui {

class CSplashScreen : public QWidget {
    Q_OBJECT
public:
    static constexpr int kShowMs = 750;

    explicit CSplashScreen(QWidget* over = nullptr);
    ~CSplashScreen() override;

    // Shows the splash centred on the screen; it closes itself.
    void ShowForAMoment();
    // False on platforms without a screen a person looks at (offscreen, minimal).
    static bool Wanted();

signals:
    void dismissed();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Dismiss();

    QPointer<QWidget> over_;
    QTimer timer_;
};

}  // namespace app_ui
