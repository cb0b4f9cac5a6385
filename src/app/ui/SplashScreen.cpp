#include "app/ui/SplashScreen.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>

namespace app_ui {

namespace {

constexpr QSize kSize(420, 220);

}  // namespace

CSplashScreen::CSplashScreen(QWidget* over)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      over_(over) {
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(kSize);
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &CSplashScreen::Dismiss);
}

CSplashScreen::~CSplashScreen() {
    qApp->removeEventFilter(this);
}

bool CSplashScreen::Wanted() {
    const QString platform = QGuiApplication::platformName();
    return platform != QStringLiteral("offscreen") && platform != QStringLiteral("minimal");
}

void CSplashScreen::ShowForAMoment() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
    // Any key or click anywhere in the application ends the splash early.
    qApp->installEventFilter(this);
    show();
    raise();
    timer_.start(kShowMs);
}

void CSplashScreen::Dismiss() {
    qApp->removeEventFilter(this);
    timer_.stop();
    emit dismissed();
    if (over_) over_->update();
    close();
}

bool CSplashScreen::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::ShortcutOverride:
        case QEvent::MouseButtonPress:
        case QEvent::NonClientAreaMouseButtonPress:
            QTimer::singleShot(0, this, &CSplashScreen::Dismiss);
            break;
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

void CSplashScreen::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient background(0, 0, 0, height());
    background.setColorAt(0, QColor(28, 52, 84));
    background.setColorAt(1, QColor(12, 24, 40));
    painter.fillRect(rect(), background);
    // A page of log lines with one highlighted line: what the program follows.
    const QRect page(28, 40, 110, 140);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(240, 240, 232));
    painter.drawRoundedRect(page, 6, 6);
    for (int line = 0; line < 8; ++line) {
        const bool marked = line == 5;
        painter.setBrush(marked ? QColor(214, 48, 49) : QColor(120, 130, 140));
        const int width = marked ? 86 : 50 + (line * 17) % 36;
        painter.drawRect(page.left() + 12, page.top() + 14 + line * 15, width, 5);
    }
    painter.setPen(QColor(245, 245, 245));
    QFont title = font();
    title.setPointSize(22);
    title.setBold(true);
    painter.setFont(title);
    painter.drawText(QRect(160, 60, 250, 50), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Ostra Tarvik"));
    QFont subtitle = font();
    subtitle.setPointSize(10);
    painter.setFont(subtitle);
    painter.setPen(QColor(180, 200, 220));
    painter.drawText(QRect(160, 110, 250, 30), Qt::AlignLeft | Qt::AlignVCenter,
                     tr("Follows log files as they grow"));
    painter.setPen(QColor(90, 120, 160));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace app_ui
