// Appends progress lines to the main window's log list.
#include <windows.h>
#include "activity_log.h"
#include "installer.h"
#include "main_window.h"
#include "../../res/resource.h"

#define BORDER_ALLOWANCE 3

LONG g_maxLogExtent;

// Widens the horizontal scroll range when this line is the widest so far; it
// never shrinks, so the operator can always scroll to an earlier long line.
static void WidenForLine(HWND list, const char *text) {
    HDC context = GetDC(list);
    SIZE extent = {0, 0};
    if (GetTextExtentPoint32A(context, text, lstrlenA(text), &extent)) {
        LONG width = extent.cx + BORDER_ALLOWANCE * GetSystemMetrics(SM_CXBORDER);
        if (width > g_maxLogExtent) {
            g_maxLogExtent = width;
            SendMessageA(list, LB_SETHORIZONTALEXTENT, (WPARAM)width, 0);
        }
    }
    ReleaseDC(list, context);
}

int LogLine(const char *text) {
    HWND list = GetDlgItem(g_hMainWnd, IDC_LOG_LIST);
    if (list != NULL) {
        while ((LONG)SendMessageA(list, LB_GETCOUNT, 0, 0) >= LOG_MAX_LINES)
            SendMessageA(list, LB_DELETESTRING, 0, 0);
        SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)text);
        WidenForLine(list, text);
    }
    return ProcessPendingMessages();
}
