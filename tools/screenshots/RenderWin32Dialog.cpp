// Shows the Win32 main dialog as it looks on a host "workstation" at
// 192.168.1.20, until it is closed, so that scripts/screenshots can take its
// picture from the display.
#include "platform/fake/FakePlatform.h"
#include "win32/Win32Api.h"
#include "win32/Win32MainDialog.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_INTERNET_CLASSES | ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&controls);

    ScopedFakePlatform platform;
    platform->hostName = "workstation";
    platform->hosts["workstation"] = Platform::System().InetAddr("192.168.1.20");
    platform->adapters = AdapterList{AdapterList::Status::Ok, {Adapter{{{"192.168.1.20", "255.255.255.0"}}}}};

    Win32MainDialog dialog;
    HWND window = dialog.Create();
    if (!window) return 1;
    ::ShowWindow(window, SW_SHOW);
    MSG message;
    while (::IsWindowVisible(window) && ::GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (::IsDialogMessageA(window, &message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    return 0;
}
