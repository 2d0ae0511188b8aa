#include "dialog/SetIPApp.h"

#include "dialog/Messages.h"
#include "net/NetworkRightsWarning.h"
#include "platform/Platform.h"
#include "support/Log.h"
#include "support/StringIds.h"

bool SetIPApp::InitInstance() {
    Log::Instance().Configure("QRM", 3, 0, nullptr, nullptr);
    if (!Platform::Current().StartSockets()) {
        view_.ShowMessage(Platform::Current().LoadStringResource(kIdsSocketsNotStarted), MessageIcon::Exclamation,
                          ApplicationTitle());
        return false;
    }
    WarnAboutMissingRights();
    view_.RunMainDialog();
    return false;
}

void SetIPApp::WarnAboutMissingRights() {
    const std::string warning =
        NetworkRightsWarning(Platform::Current().GetNetworkRights(), true, view_.ProgramPath());
    if (!warning.empty()) view_.ShowMessage(warning, MessageIcon::Exclamation, ApplicationTitle());
}
