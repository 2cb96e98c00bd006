#include <windows.h>
#include "snapshot_marker.h"
#include "check.h"

#define REPAINT_MS       300
#define SNAPSHOT_WAIT_MS 15000

void TakeSnapshot(HWND window, const char *name) {
    // A box that has just closed leaves a hole that the window repaints on
    // its own thread.
    Sleep(REPAINT_MS);
    RECT rect;
    if (!GetWindowRect(window, &rect)) {
        SetRectEmpty(&rect);
    }
    Note("snapshot %s %ld %ld %ld %ld", name, rect.left, rect.top, rect.right - rect.left,
         rect.bottom - rect.top);
    char folder[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("QV_TOUR_SNAPSHOTS", folder, sizeof folder);
    if (length == 0 || length >= sizeof folder) {
        return;
    }
    char done[2 * MAX_PATH];
    wsprintfA(done, "%s\\%s.done", folder, name);
    DWORD start = GetTickCount();
    while (GetFileAttributesA(done) == INVALID_FILE_ATTRIBUTES) {
        if (GetTickCount() - start >= SNAPSHOT_WAIT_MS) {
            Note("no picture taken for %s", name);
            return;
        }
        Sleep(50);
    }
}
