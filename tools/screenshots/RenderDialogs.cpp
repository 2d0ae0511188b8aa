// Renders the main dialog (idle, and during an attempt) and the About box to
// PNG files for the README, as they look on a host "workstation" at
// 192.168.1.20.
#include "platform/fake/FakePlatform.h"
#include "ui/AboutDlg.h"
#include "ui/MainDialog.h"
#include "ui_SetIPDlg.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QPixmap>

#include <chrono>
#include <cstdio>
#include <thread>

namespace {

// The window's contents under a plain title bar with its icon and caption,
// since an offscreen window has no frame of its own.
QPixmap Framed(QWidget& window) {
    const QPixmap body = window.grab();
    const int barHeight = window.fontMetrics().height() + 12;
    QPixmap framed(body.width() + 2, body.height() + barHeight + 1);
    framed.fill(QColor(0x3c, 0x3f, 0x44));
    QPainter painter(&framed);
    const int iconSize = 16;
    const int iconTop = (barHeight - iconSize) / 2;
    painter.drawPixmap(8, iconTop, window.windowIcon().pixmap(iconSize, iconSize));
    painter.setPen(Qt::white);
    painter.drawText(QRect(8 + iconSize + 6, 0, framed.width(), barHeight), Qt::AlignVCenter | Qt::AlignLeft,
                     window.windowTitle());
    painter.drawPixmap(1, barHeight, body);
    return framed;
}

bool Render(QWidget& window, const QString& path) {
    window.show();
    QApplication::processEvents();
    const bool saved = Framed(window).save(path);
    std::fprintf(saved ? stdout : stderr, "%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
    return saved;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs"));

    ScopedFakePlatform platform;
    platform->hostName = "workstation";
    platform->hosts["workstation"] = Platform::System().InetAddr("192.168.1.20");

    platform->adapters = AdapterList{AdapterList::Status::Ok, {Adapter{{{"192.168.1.20", "255.255.255.0"}}}}};
    // A device that keeps the attempt running: no answers, at a calm pace.
    platform->onEcho = [](const FakePlatform::EchoCall&) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        return false;
    };

    MainDialog dialog;
    AboutDlg about(&dialog);
    bool rendered = Render(dialog, out.filePath("main-dialog.png")) && Render(about, out.filePath("about-box.png"));

    // Seven minutes into an attempt.
    dialog.Controls().serialNumberEdit->setText(QStringLiteral("02C0A7A1B2C3"));
    dialog.Controls().ipAddressCtrl->SetText(QStringLiteral("192.168.1.77"));
    dialog.Behaviour().OnSetIPBtn();
    platform->tickCount = 7 * 60 * 1000;
    dialog.Behaviour().OnBarStep();
    rendered = rendered && Render(dialog, out.filePath("main-dialog-busy.png"));
    dialog.Behaviour().OnClose();
    return rendered ? 0 : 1;
}
