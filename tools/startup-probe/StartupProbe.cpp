// The program's start-up as `addrix` runs it, plus a report once the main
// dialog is on screen: the monotonic clock at that moment (nanoseconds) and
// the peak resident set size so far. The caller notes the clock before it
// starts the process. The dialog is closed after the report.
#include "dialog/SetIPApp.h"
#include "ui/MainDialog.h"
#include "ui/QtApplicationView.h"

#include <QApplication>
#include <QFile>
#include <QTimer>

#include <cstdio>
#include <ctime>

namespace {

long long MonotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

QByteArray PeakResidentSize() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return "?";
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).simplified();
    return "?";
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&poll] {
        auto* dialog = qobject_cast<MainDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) return;
        poll.stop();
        std::printf("shown %lld\npeak %s\n", MonotonicNanoseconds(), PeakResidentSize().constData());
        std::fflush(stdout);
        dialog->close();
    });
    poll.start(0);
    QtApplicationView view;
    SetIPApp startUp(view);
    startUp.InitInstance();
    return 0;
}
