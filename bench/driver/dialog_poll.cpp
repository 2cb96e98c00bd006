#include <windows.h>
#include <string.h>
#include "dialog_poll.h"
#include "report_lines.h"

#define DIALOG_CLASS    "#32770"
#define BOX_TEXT_ID     0xFFFF
#define GONE_TIMEOUT_MS 10000

static bool TitleStartsWith(HWND window, const char *prefix) {
    char title[256];
    title[0] = 0;
    GetWindowTextA(window, title, sizeof title);
    return strncmp(title, prefix, strlen(prefix)) == 0;
}

HWND FindShownDialog(DWORD processId, const char *titlePrefix) {
    // Only dialogs, by class: far fewer windows to ask the server about
    // than a walk over every top-level window.
    HWND window = NULL;
    while ((window = FindWindowExA(NULL, window, DIALOG_CLASS, NULL)) != NULL) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && IsWindowVisible(window) && TitleStartsWith(window, titlePrefix)) {
            return window;
        }
    }
    return NULL;
}

HWND WaitShownDialog(const Launched *run, const char *titlePrefix, DWORD pollMs) {
    DWORD start = GetTickCount();
    for (;;) {
        // The exit state first: a window found after the exit is stale.
        bool exited = HasExited(run);
        HWND found = FindShownDialog(run->processId, titlePrefix);
        if (found != NULL && !exited) {
            return found;
        }
        if (exited || GetTickCount() - start >= WINDOW_WAIT_MS) {
            Note("no dialog \"%s\" of pid %lu (%s)", titlePrefix, run->processId,
                 exited ? "the program ended" : "timed out");
            return NULL;
        }
        Sleep(pollMs);
    }
}

bool WaitDialogGone(HWND window) {
    DWORD start = GetTickCount();
    while (IsWindow(window) && IsWindowVisible(window)) {
        if (GetTickCount() - start >= GONE_TIMEOUT_MS) {
            Note("dialog %p did not go away", (void *)window);
            return false;
        }
        Sleep(POLL_RELAXED_MS);
    }
    return true;
}

bool ReadBoxText(HWND box, char *text, int size) {
    text[0] = 0;
    HWND control = GetDlgItem(box, BOX_TEXT_ID);
    if (control == NULL) {
        return false;
    }
    GetWindowTextA(control, text, size);
    return true;
}

bool PostButton(HWND dialog, int id) {
    return PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                        (LPARAM)GetDlgItem(dialog, id)) != 0;
}
