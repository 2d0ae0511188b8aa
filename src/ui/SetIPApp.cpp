#include "ui/SetIPApp.h"

#include "platform/Platform.h"
#include "support/Log.h"
#include "support/Macros.h"
#include "support/StringIds.h"
#include "ui/MessageBox.h"
#include "ui/SetIPDlg.h"

#include <QCoreApplication>

bool SetIPApp::InitInstance() {
    Log::Instance().Configure("QRM", 3, 0, nullptr, nullptr);
    if (!Platform::Current().StartSockets()) {
        ShowMessage(nullptr, kIdsSocketsNotStarted, MessageIcon::Exclamation);
        return false;
    }
    WarnAboutMissingRights();
    SetIPDlg dialog;
    dialog.exec();
    return false;
}

void SetIPApp::WarnAboutMissingRights() {
    const NetworkRights rights = Platform::Current().GetNetworkRights();
    if (rights.canSendEcho && rights.canChangeNeighbours) return;
    std::string missing;
    if (!rights.canSendEcho) missing = "CAP_NET_RAW";
    if (!rights.canChangeNeighbours) missing += missing.empty() ? "CAP_NET_ADMIN" : ", CAP_NET_ADMIN";
    const std::string program = QCoreApplication::applicationFilePath().toStdString();
    ShowMessage(nullptr,
                LoadTextWithMacros(kIdsNetworkRightsMissing, "RIGHTS=%s;PROGRAM=%s", missing.c_str(), program.c_str()),
                MessageIcon::Exclamation);
}
