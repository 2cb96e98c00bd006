#include <windows.h>
#include <string.h>
#include "launched_process.h"
#include "report_lines.h"

#define CLOSE_GRACE_MS 5000
#define CLOSE_RETRY_MS 200

bool Launch(const char *path, const char *arguments, Launched *run) {
    char folder[MAX_PATH];
    char commandLine[3 * MAX_PATH];
    STARTUPINFOA startup;
    PROCESS_INFORMATION info;

    memset(run, 0, sizeof *run);
    lstrcpynA(folder, path, MAX_PATH);
    char *slash = strrchr(folder, '\\');
    if (slash != NULL) {
        *slash = 0;
    }
    if (lstrlenA(path) + (arguments != NULL ? lstrlenA(arguments) : 0) + 4 >
        (int)sizeof commandLine) {
        Note("command line too long for %s", path);
        return false;
    }
    wsprintfA(commandLine, "\"%s\"%s%s", path, arguments != NULL ? " " : "",
              arguments != NULL ? arguments : "");
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    // The program's own folder, as when an operator starts it: the registrar
    // library is found there.
    if (!CreateProcessA(path, commandLine, NULL, NULL, FALSE, 0, NULL, folder, &startup, &info)) {
        Note("cannot start %s (error %lu)", path, GetLastError());
        return false;
    }
    run->process = info.hProcess;
    run->thread = info.hThread;
    run->processId = info.dwProcessId;
    return true;
}

bool HasExited(const Launched *run) {
    return run->process == NULL || WaitForSingleObject(run->process, 0) == WAIT_OBJECT_0;
}

bool WaitExit(const Launched *run, DWORD timeoutMs, DWORD *exitCode) {
    if (run->process == NULL || WaitForSingleObject(run->process, timeoutMs) != WAIT_OBJECT_0) {
        return false;
    }
    if (!GetExitCodeProcess(run->process, exitCode)) {
        *exitCode = (DWORD)-1;
    }
    return true;
}

static BOOL CALLBACK PostClose(HWND window, LPARAM processId) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == (DWORD)processId && IsWindowVisible(window)) {
        PostMessageA(window, WM_CLOSE, 0, 0);
    }
    return TRUE;
}

void EndLaunched(Launched *run) {
    if (run->process != NULL && !HasExited(run)) {
        // A box closed this way may lead to the next window: keep closing
        // for a bounded while.
        DWORD start = GetTickCount();
        while (!HasExited(run) && GetTickCount() - start < CLOSE_GRACE_MS) {
            EnumWindows(PostClose, (LPARAM)run->processId);
            WaitForSingleObject(run->process, CLOSE_RETRY_MS);
        }
        if (!HasExited(run)) {
            Note("pid %lu ignored WM_CLOSE: terminating it", run->processId);
            TerminateProcess(run->process, 1);
            WaitForSingleObject(run->process, CLOSE_GRACE_MS);
        }
    }
    if (run->thread != NULL) {
        CloseHandle(run->thread);
    }
    if (run->process != NULL) {
        CloseHandle(run->process);
    }
    memset(run, 0, sizeof *run);
}
