// The handles of the program's window and the message pump.
#include <windows.h>
#include "window_services.h"

HINSTANCE g_hInstance;
HWND g_hMainWnd;
LONG g_requestedAction;
LONG g_closeRequested;

void DestroyMainWindow(void) {
    if (g_hMainWnd == NULL)
        return;
    DestroyWindow(g_hMainWnd);
    g_hMainWnd = NULL;
}

int ProcessPendingMessages(void) {
    MSG message;
    while (PeekMessageA(&message, g_hMainWnd, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT)
            return 1;
        if (g_hMainWnd != NULL && IsDialogMessageA(g_hMainWnd, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
