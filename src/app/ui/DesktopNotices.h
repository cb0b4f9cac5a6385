#pragma once
// Desktop notifications through the notification server on the session bus
// (org.freedesktop.Notifications): a highlight filter's matched line under
// the document's file name, and the stop-updating notice. Bursts are thinned
// by the throttle; where the server offers actions, activating a line's
// notification brings its document forward at that line. Without a server
// nothing is shown, and the debug output says so once. Every bus call is
// asynchronous: the user-interface thread never waits on the server.

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>

#include "app/DesktopNoticeThrottle.h"
#include "filters/IDesktopNotice.h"
#include "mail/IStopUpdatingDesktopNotice.h"
#include "platform/IClock.h"

class QDBusPendingCallWatcher;

namespace app_ui {

class CDesktopNotices final : public QObject,
                              public filters::IDesktopNotice,
                              public mail::IStopUpdatingDesktopNotice {
    Q_OBJECT
public:
    // What activating a line's notification brings forward: the document
    // (which may have closed since) and its 0-based line.
    using Activate = std::function<void(filters::DocumentRef document, int lineIndex)>;

    // The line shown in a notification is cut to this many characters.
    static constexpr int kMaxBodyCharacters = 400;
    // After a server was missing, the next notice asks again after this long.
    static constexpr std::uint64_t kAskAgainMs = 60000;

    explicit CDesktopNotices(const platform::IClock& clock,
                             QDBusConnection bus = QDBusConnection::sessionBus());

    void SetActivate(Activate activate) { activate_ = std::move(activate); }

    void ShowHighlightNotice(std::u16string_view logName, std::u16string_view line, int lineIndex,
                             const filters::HighlightFilter& filter,
                             filters::DocumentRef document) override;
    void ShowStopUpdatingNotice(std::u16string_view path, std::u16string_view text) override;

    // Updates the notifications whose summaries are due (the timer does
    // this when their time is up).
    void SendDueSummaries();
    bool IsSummaryTimerActive() const { return summaryTimer_.isActive(); }

private slots:
    void OnActionInvoked(uint id, const QString& action);
    void OnNotificationClosed(uint id, uint reason);

private:
    enum class Server { Unknown, Asking, Ready, Missing };

    struct Notice {
        QString summary;
        QString line;
        filters::DocumentRef document = nullptr;
        int lineIndex = -1;
        // Set for a highlight filter's line, whose notification is updated
        // with the summaries.
        std::optional<app::DesktopNoticeKey> key;
    };
    // The notification a key showed last.
    struct Shown {
        Notice notice;
        // 0 until the server has answered.
        uint id = 0;
        // A summary due before the server answered.
        std::optional<std::uint64_t> moreLines;
    };

    void Submit(Notice notice);
    void AskCapabilities();
    void OnCapabilities(QDBusPendingCallWatcher* watcher);
    void Send(const Notice& notice, uint replacesId, std::uint64_t moreLines);
    void OnNotified(QDBusPendingCallWatcher* watcher,
                    const std::optional<app::DesktopNoticeKey>& key, uint replacesId,
                    filters::DocumentRef document, int lineIndex);
    void SendSummary(Shown& shown, std::uint64_t moreLines);
    void ScheduleSummaries();
    void LoseServer();
    bool Usable();

    QDBusConnection bus_;
    const platform::IClock& clock_;
    app::CDesktopNoticeThrottle throttle_;
    QTimer summaryTimer_;
    Activate activate_;
    Server server_ = Server::Unknown;
    std::uint64_t missingSince_ = 0;
    bool missingReported_ = false;
    bool serverHasActions_ = false;
    bool serverReadsMarkup_ = false;
    // Notices that came while the server's capabilities were asked for.
    std::deque<Notice> waiting_;
    std::map<app::DesktopNoticeKey, Shown> shown_;
    // The notifications on the desktop that bring a document forward.
    std::map<uint, std::pair<filters::DocumentRef, int>> targets_;
};

}  // namespace app_ui
