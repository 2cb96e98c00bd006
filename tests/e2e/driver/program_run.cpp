#include <windows.h>
#include <string.h>
#include "program_run.h"
#include "check.h"

bool StartProgram(const char *path, const char *arguments, ProgramRun *run) {
    char folder[MAX_PATH];
    char commandLine[2 * MAX_PATH];
    STARTUPINFOA startup;
    PROCESS_INFORMATION info;

    memset(run, 0, sizeof *run);
    lstrcpynA(run->path, path, MAX_PATH);
    lstrcpynA(folder, path, MAX_PATH);
    char *slash = strrchr(folder, '\\');
    if (slash != NULL) {
        *slash = 0;
    }
    wsprintfA(commandLine, "\"%s\"%s%.200s", path, arguments != NULL ? " " : "",
              arguments != NULL ? arguments : "");
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    // The working folder is the program's own: the registrar library must be
    // found (or missed) through the program's folder alone.
    if (!CreateProcessA(path, commandLine, NULL, NULL, FALSE, 0, NULL, folder, &startup, &info)) {
        CheckTrue(false, "start program");
        Note("CreateProcess(%s) failed, error %lu", path, GetLastError());
        return false;
    }
    run->process = info.hProcess;
    run->thread = info.hThread;
    run->processId = info.dwProcessId;
    run->threadId = info.dwThreadId;
    Note("started %s (pid %lu)", path, info.dwProcessId);
    return true;
}

bool ProgramHasExited(const ProgramRun *run) {
    return run->process == NULL || WaitForSingleObject(run->process, 0) == WAIT_OBJECT_0;
}

bool WaitProgramExit(const ProgramRun *run, DWORD timeoutMs, DWORD *exitCode) {
    if (run->process == NULL || WaitForSingleObject(run->process, timeoutMs) != WAIT_OBJECT_0) {
        return false;
    }
    if (!GetExitCodeProcess(run->process, exitCode)) {
        *exitCode = (DWORD)-1;
    }
    return true;
}

struct CloseRequest {
    DWORD processId;
    int posted;
};

static BOOL CALLBACK PostCloseToWindow(HWND window, LPARAM param) {
    CloseRequest *request = (CloseRequest *)param;
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == request->processId && IsWindowVisible(window)) {
        PostMessageA(window, WM_CLOSE, 0, 0);
        ++request->posted;
    }
    return TRUE;
}

void EndProgram(ProgramRun *run) {
    if (run->process != NULL && !ProgramHasExited(run)) {
        Note("program still running: closing its windows");
        // A message box closed this way returns IDCANCEL and the program may
        // go on to its next window, so keep closing for a bounded while.
        DWORD start = GetTickCount();
        while (!ProgramHasExited(run) && GetTickCount() - start < 3000) {
            CloseRequest request = {run->processId, 0};
            EnumWindows(PostCloseToWindow, (LPARAM)&request);
            WaitForSingleObject(run->process, 200);
        }
        if (!ProgramHasExited(run)) {
            Note("program ignored WM_CLOSE: terminating it");
            TerminateProcess(run->process, 1);
            WaitForSingleObject(run->process, 5000);
        }
    }
    if (run->thread != NULL) {
        CloseHandle(run->thread);
    }
    if (run->process != NULL) {
        CloseHandle(run->process);
    }
    run->thread = NULL;
    run->process = NULL;
}
