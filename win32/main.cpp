#include "win32/win32formmain.h"

#include <windows.h>

// The program takes no command line: whatever it is given is ignored.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    vorlane::Win32FormMain window(instance);
    if (!window.handle())
        return 1;
    window.show(showCommand);
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        // Tab and Shift+Tab move through the controls as in a dialog.
        if (!::IsDialogMessageW(window.handle(), &message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    return 0;
}
