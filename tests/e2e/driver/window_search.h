// Finding a program's top-level windows from outside, by polling: Wine has
// no reliable "input idle", so every wait is a bounded poll that gives up
// early once the program has ended.
#pragma once
#include <windows.h>
#include "program_run.h"

#define DIALOG_CLASS "#32770"

// Records whether the program ever had a top-level window whose title starts
// with `titlePrefix`, while a wait below is polling.
struct WindowWatch {
    const char *titlePrefix;
    bool seen;
    char seenTitle[256];
};

// A visible top-level window of the process with this class and, unless
// `title` is NULL, exactly this title; NULL when there is none now.
HWND FindProcessWindow(DWORD processId, const char *className, const char *title);
int CountProcessWindows(DWORD processId, const char *className);
// Polls every 20 ms for at most `timeoutMs`; NULL on timeout or exit.
HWND WaitForProcessWindow(const ProgramRun *run, const char *className, const char *title,
                          DWORD timeoutMs, WindowWatch *watch);
// Like WaitProgramExit, watching the windows meanwhile.
bool WaitExitWatching(const ProgramRun *run, DWORD timeoutMs, WindowWatch *watch, DWORD *exitCode);
// Notes every top-level window of the process (for a failure's context).
void DescribeProcessWindows(DWORD processId);
// Waits the usual bound for a dialog of the program with exactly this title
// (NULL: any), checks that it came under `what`, and on failure notes the
// program's windows; NULL when it did not come.
HWND ExpectProcessDialog(const ProgramRun *run, const char *title, const char *what);
