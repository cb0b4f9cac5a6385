#include "app/ui/DesktopNotices.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>
#include <algorithm>
#include <string>

#include "app/ui/FrameIcons.h"
#include "platform/DebugOutput.h"
#include "platform/NormalPath.h"

namespace app_ui {

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
const QString kDefaultAction = QStringLiteral("default");
// A server that does not answer within this time counts as missing.
constexpr int kCallTimeoutMs = 5000;
// Notifications that may still be activated; the oldest go beyond this.
constexpr std::size_t kMaxTargets = 256;
constexpr std::size_t kMaxWaiting = 64;

// Log text and file names stay text: control characters become spaces, and
// a long text is cut rather than handed to the desktop whole.
QString Printable(std::u16string_view text) {
    const auto limit = static_cast<std::size_t>(CDesktopNotices::kMaxBodyCharacters);
    QString printable = QString::fromStdU16String(std::u16string(text.substr(0, limit)));
    for (QChar& c : printable) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) c = QLatin1Char(' ');
    }
    if (text.size() > limit) printable += QChar(0x2026);
    return printable;
}

QString FileNameOf(std::u16string_view name) {
    return Printable(platform::ShortName(name));
}

}  // namespace

CDesktopNotices::CDesktopNotices(const platform::IClock& clock, QDBusConnection bus)
    : bus_(std::move(bus)), clock_(clock), throttle_(clock) {
    summaryTimer_.setSingleShot(true);
    connect(&summaryTimer_, &QTimer::timeout, this, &CDesktopNotices::SendDueSummaries);
    if (bus_.isConnected()) {
        bus_.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                     SLOT(OnActionInvoked(uint, QString)));
        bus_.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                     SLOT(OnNotificationClosed(uint, uint)));
    }
}

void CDesktopNotices::ShowHighlightNotice(std::u16string_view logName, std::u16string_view line,
                                          int lineIndex, const filters::HighlightFilter& filter,
                                          filters::DocumentRef document) {
    if (!Usable()) return;
    app::DesktopNoticeKey key{filter.phrase.text, document};
    if (!throttle_.Admit(key)) {
        ScheduleSummaries();
        return;
    }
    // Notifications no longer updated are forgotten as a new one shows.
    std::erase_if(shown_, [this](const auto& entry) { return !throttle_.IsOpen(entry.first); });
    Submit(Notice{FileNameOf(logName), Printable(line), document, lineIndex, std::move(key)});
}

void CDesktopNotices::ShowStopUpdatingNotice(std::u16string_view path, std::u16string_view text) {
    if (!Usable()) return;
    Submit(Notice{FileNameOf(path), Printable(text), nullptr, -1, std::nullopt});
}

bool CDesktopNotices::Usable() {
    if (server_ == Server::Missing && clock_.TickMs() - missingSince_ >= kAskAgainMs) {
        server_ = Server::Unknown;
    }
    return server_ != Server::Missing;
}

void CDesktopNotices::Submit(Notice notice) {
    if (notice.key) shown_[*notice.key] = Shown{notice, 0, std::nullopt};
    if (server_ == Server::Ready) {
        Send(notice, 0, 0);
        return;
    }
    if (waiting_.size() < kMaxWaiting) waiting_.push_back(std::move(notice));
    if (server_ == Server::Unknown) AskCapabilities();
}

void CDesktopNotices::AskCapabilities() {
    if (!bus_.isConnected()) {
        LoseServer();
        return;
    }
    server_ = Server::Asking;
    const QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface,
                                                             QStringLiteral("GetCapabilities"));
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call, kCallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* done) { OnCapabilities(done); });
}

void CDesktopNotices::OnCapabilities(QDBusPendingCallWatcher* watcher) {
    watcher->deleteLater();
    const QDBusPendingReply<QStringList> reply = *watcher;
    if (reply.isError()) {
        LoseServer();
        return;
    }
    server_ = Server::Ready;
    serverHasActions_ = reply.value().contains(QStringLiteral("actions"));
    serverReadsMarkup_ = reply.value().contains(QStringLiteral("body-markup"));
    std::deque<Notice> waiting;
    waiting.swap(waiting_);
    for (const Notice& notice : waiting) Send(notice, 0, 0);
}

void CDesktopNotices::LoseServer() {
    server_ = Server::Missing;
    missingSince_ = clock_.TickMs();
    waiting_.clear();
    shown_.clear();
    if (missingReported_) return;
    missingReported_ = true;
    platform::OutputDebugStringA(std::string(platform::kDebugPrefix) +
                                 "No desktop notification server answers on the session bus; "
                                 "desktop notifications are not shown.\n");
}

void CDesktopNotices::Send(const Notice& notice, uint replacesId, std::uint64_t moreLines) {
    QString body = notice.line;
    if (moreLines > 0) {
        body += QLatin1Char('\n') + QString::fromStdU16String(app::MoreLinesText(moreLines));
    }
    // A server that reads markup in the body would take a "<b>" of the log
    // as its own; one that does not shows the text as it is.
    if (serverReadsMarkup_) body = body.toHtmlEscaped();
    QStringList actions;
    if (serverHasActions_ && notice.document) {
        actions << kDefaultAction << QStringLiteral("Show");
    }
    QVariantMap hints;
    hints.insert(QStringLiteral("desktop-entry"), QString::fromLatin1(kDesktopName));
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
    call << QStringLiteral("Ostra Tarvik") << replacesId << QString::fromLatin1(kDesktopName)
         << notice.summary << body << actions << hints << -1;
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call, kCallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, key = notice.key, replacesId, document = notice.document,
             lineIndex = notice.lineIndex](QDBusPendingCallWatcher* done) {
                OnNotified(done, key, replacesId, document, lineIndex);
            });
}

void CDesktopNotices::OnNotified(QDBusPendingCallWatcher* watcher,
                                 const std::optional<app::DesktopNoticeKey>& key, uint replacesId,
                                 filters::DocumentRef document, int lineIndex) {
    watcher->deleteLater();
    const QDBusPendingReply<uint> reply = *watcher;
    if (reply.isError()) {
        // The server went away: the next notice asks again.
        LoseServer();
        return;
    }
    const uint id = reply.value();
    if (document && serverHasActions_) {
        if (targets_.size() >= kMaxTargets) targets_.erase(targets_.begin());
        targets_[id] = {document, lineIndex};
    }
    if (!key) return;
    const auto found = shown_.find(*key);
    if (found == shown_.end()) return;
    Shown& shown = found->second;
    // The answer to the notification the key shows now, or to its update
    // (the server may have given the update an id of its own).
    if (shown.id != replacesId) return;
    shown.id = id;
    if (replacesId == 0 && shown.moreLines) SendSummary(shown, *shown.moreLines);
}

void CDesktopNotices::SendDueSummaries() {
    for (const app::DesktopNoticeSummary& summary : throttle_.TakeDueSummaries()) {
        const auto found = shown_.find(summary.key);
        if (found == shown_.end()) continue;
        Shown& shown = found->second;
        if (shown.id == 0) {
            shown.moreLines = summary.moreLines;  // sent when the server answers
        } else {
            SendSummary(shown, summary.moreLines);
        }
    }
    ScheduleSummaries();
}

void CDesktopNotices::SendSummary(Shown& shown, std::uint64_t moreLines) {
    shown.moreLines.reset();
    if (server_ != Server::Ready) return;
    Send(shown.notice, shown.id, moreLines);
}

void CDesktopNotices::ScheduleSummaries() {
    const std::optional<std::uint64_t> due = throttle_.NextDueInMs();
    if (!due) {
        summaryTimer_.stop();
        return;
    }
    const int delay =
        static_cast<int>(std::min<std::uint64_t>(*due, app::CDesktopNoticeThrottle::kWindowMs));
    if (!summaryTimer_.isActive() || summaryTimer_.remainingTime() > delay) {
        summaryTimer_.start(delay);
    }
}

void CDesktopNotices::OnActionInvoked(uint id, const QString& action) {
    const auto found = targets_.find(id);
    if (found == targets_.end() || action != kDefaultAction || !activate_) return;
    const auto [document, lineIndex] = found->second;
    activate_(document, lineIndex);
}

void CDesktopNotices::OnNotificationClosed(uint id, uint) {
    targets_.erase(id);
}

}  // namespace app_ui
