#include "ui/SetIPApp.h"

#include "net/NetworkRightsWarning.h"
#include "platform/Platform.h"
#include "support/Log.h"
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
    const std::string warning = NetworkRightsWarning(Platform::Current().GetNetworkRights(), true,
                                                     QCoreApplication::applicationFilePath().toStdString());
    if (!warning.empty()) ShowMessage(nullptr, warning, MessageIcon::Exclamation);
}
