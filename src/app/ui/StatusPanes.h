#pragma once
// The six information panes of the status bar: clock, monitoring state,
// caret position, text length, maximum buffer size and refresh rate. Each
// shows its label as tooltip and reports a double-click; the clock, the
// buffer size and the refresh rate panes also say which dialog to open.
// The texts come from the engine (app/StatusPaneText.h, core/SizeFormat.h).

#include <QObject>
#include <QTimer>

#include <array>
#include <string_view>

class QLabel;
class QStatusBar;

namespace app_ui {

class CStatusPanes : public QObject {
    Q_OBJECT
public:
    // Pane numbers after the status bar's own message pane.
    enum Pane { Clock = 1, MonitoringState, CaretPosition, TextLength, MaxBufferSize, RefreshRate };
    enum class Monitoring { NoDocument, Running, Stopped };

    static constexpr int kPaneCount = 6;
    static constexpr int kClockPeriodMs = 1000;

    // Adds the panes to the bar as permanent widgets.
    explicit CStatusPanes(QStatusBar* bar);

    // StatusbarClock: on fills the pane at once and ticks every second, off
    // stops the ticking and empties the pane.
    void SetClockEnabled(bool enabled);
    bool IsClockRunning() const { return clockTimer_.isActive(); }
    // The active document's state; the icon changes only when it differs.
    void SetMonitoring(Monitoring state);
    Monitoring MonitoringShown() const { return monitoring_; }
    void SetCaretText(std::u16string_view text);
    void SetTextLengthText(std::u16string_view text);
    void SetMaxBufferSizeText(std::u16string_view text);
    void SetRefreshRateText(std::u16string_view text);

    QLabel* PaneLabel(Pane pane) const;
    // "%d:%02d:%02d", hours without a leading zero.
    static QString ClockText(const QTime& time);

signals:
    void paneDoubleClicked(int pane);
    void optionsRequested();
    void bufferSizeRequested();
    void refreshRateRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* AddPane(QStatusBar* bar, const QString& label, int width);
    void UpdateClock();
    void ReportDoubleClick(int pane);

    std::array<QLabel*, kPaneCount> panes_{};
    QTimer clockTimer_;
    Monitoring monitoring_ = Monitoring::NoDocument;
};

}  // namespace app_ui
