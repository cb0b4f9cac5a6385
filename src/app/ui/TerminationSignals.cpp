#include "app/ui/TerminationSignals.h"

#include <sys/eventfd.h>
#include <unistd.h>
#include <QSocketNotifier>
#include <csignal>

namespace app_ui {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
// Written from the signal handler: only async-signal-safe calls touch it.
volatile std::sig_atomic_t gWakeFd = -1;

void OnSignal(int) {
    const int fd = gWakeFd;
    if (fd < 0) return;
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = write(fd, &one, sizeof one);
}

}  // namespace

CTerminationSignals::CTerminationSignals(QObject* parent) : QObject(parent) {
    const int fd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (fd < 0) return;
    gWakeFd = fd;
    notifier_ = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this, fd] {
        std::uint64_t count = 0;
        [[maybe_unused]] const ssize_t got = read(fd, &count, sizeof count);
        emit terminationRequested();
    });
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kSignals) sigaction(signal, &action, nullptr);
}

CTerminationSignals::~CTerminationSignals() {
    if (!notifier_) return;
    for (const int signal : kSignals) std::signal(signal, SIG_DFL);
    const int fd = gWakeFd;
    gWakeFd = -1;
    delete notifier_;
    close(fd);
}

}  // namespace app_ui
