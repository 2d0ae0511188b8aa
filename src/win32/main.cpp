#include "dialog/SetIPApp.h"
#include "win32/Win32ApplicationView.h"
#include "win32/Win32Api.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // The classes of the address control and the progress bar.
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_INTERNET_CLASSES | ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&controls);
    Win32ApplicationView view;
    SetIPApp startUp(view);
    startUp.InitInstance();
    return 0;
}
