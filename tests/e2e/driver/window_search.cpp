#include <windows.h>
#include <string.h>
#include "window_search.h"
#include "check.h"
#include "program_under_test.h"

#define POLL_INTERVAL_MS 20

struct WindowScan {
    DWORD processId;
    const char *className;
    const char *title;
    HWND found;
    int matches;
    WindowWatch *watch;
    bool describe;
};

static BOOL CALLBACK ScanWindow(HWND window, LPARAM param) {
    WindowScan *scan = (WindowScan *)param;
    DWORD owner = 0;
    char className[64];
    char title[256];

    GetWindowThreadProcessId(window, &owner);
    if (owner != scan->processId) {
        return TRUE;
    }
    className[0] = 0;
    title[0] = 0;
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, title, sizeof title);
    bool visible = IsWindowVisible(window) != 0;
    if (scan->describe) {
        Note("window %p class \"%s\" title \"%s\" %s", (void *)window, className, title,
             visible ? "visible" : "hidden");
    }
    WindowWatch *watch = scan->watch;
    if (watch != NULL && !watch->seen &&
        strncmp(title, watch->titlePrefix, strlen(watch->titlePrefix)) == 0) {
        watch->seen = true;
        lstrcpynA(watch->seenTitle, title, sizeof watch->seenTitle);
    }
    if (scan->className != NULL && visible && strcmp(className, scan->className) == 0 &&
        (scan->title == NULL || strcmp(title, scan->title) == 0)) {
        ++scan->matches;
        if (scan->found == NULL) {
            scan->found = window;
        }
    }
    return TRUE;
}

static HWND Scan(DWORD processId, const char *className, const char *title, WindowWatch *watch,
                 bool describe, int *matches = NULL) {
    WindowScan scan = {processId, className, title, NULL, 0, watch, describe};
    EnumWindows(ScanWindow, (LPARAM)&scan);
    if (matches != NULL) {
        *matches = scan.matches;
    }
    return scan.found;
}

int CountProcessWindows(DWORD processId, const char *className) {
    int matches = 0;
    Scan(processId, className, NULL, NULL, false, &matches);
    return matches;
}

HWND FindProcessWindow(DWORD processId, const char *className, const char *title) {
    return Scan(processId, className, title, NULL, false);
}

HWND WaitForProcessWindow(const ProgramRun *run, const char *className, const char *title,
                          DWORD timeoutMs, WindowWatch *watch) {
    DWORD start = GetTickCount();
    for (;;) {
        // Read the exit state first: a window found after the exit would be
        // a stale handle.
        bool exited = ProgramHasExited(run);
        HWND found = Scan(run->processId, className, title, watch, false);
        if (found != NULL && !exited) {
            return found;
        }
        if (exited || GetTickCount() - start >= timeoutMs) {
            return NULL;
        }
        Sleep(POLL_INTERVAL_MS);
    }
}

bool WaitExitWatching(const ProgramRun *run, DWORD timeoutMs, WindowWatch *watch, DWORD *exitCode) {
    DWORD start = GetTickCount();
    for (;;) {
        if (WaitProgramExit(run, 0, exitCode)) {
            return true;
        }
        if (watch != NULL) {
            Scan(run->processId, NULL, NULL, watch, false);
        }
        if (GetTickCount() - start >= timeoutMs) {
            return false;
        }
        WaitForSingleObject(run->process, POLL_INTERVAL_MS);
    }
}

void DescribeProcessWindows(DWORD processId) {
    Scan(processId, NULL, NULL, NULL, true);
}

HWND ExpectProcessDialog(const ProgramRun *run, const char *title, const char *what) {
    HWND dialog = WaitForProcessWindow(run, DIALOG_CLASS, title, WINDOW_WAIT_MS, NULL);
    if (!CheckTrue(dialog != NULL, what)) {
        DescribeProcessWindows(run->processId);
    }
    return dialog;
}
