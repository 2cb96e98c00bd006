// Starting a program under measurement and making sure it does not outlive
// its run.
#pragma once
#include <windows.h>

struct Launched {
    HANDLE process;
    HANDLE thread; // primary thread: where a window's message loop runs
    DWORD processId;
};

// Starts `path` (a full Windows path) in its own folder; `arguments` may be
// NULL. False, with a note, when it cannot be started.
bool Launch(const char *path, const char *arguments, Launched *run);
bool HasExited(const Launched *run);
// Waits at most `timeoutMs` for the end and reads the exit code.
bool WaitExit(const Launched *run, DWORD timeoutMs, DWORD *exitCode);
// Closes the program's windows, ends it if they do not go, and releases the
// handles. Safe on a run that has ended or never started.
void EndLaunched(Launched *run);
