// One run of a program under test: start it in its own folder, watch it,
// read its exit code, and make sure it does not outlive the case.
#pragma once
#include <windows.h>

struct ProgramRun {
    HANDLE process;
    HANDLE thread; // primary thread: its CPU time is the program's idle cost
    DWORD processId;
    DWORD threadId;
    char path[MAX_PATH];
};

// Starts `path` (a full Windows path) with its own folder as working folder;
// `arguments` may be NULL.
bool StartProgram(const char *path, const char *arguments, ProgramRun *run);
bool ProgramHasExited(const ProgramRun *run);
// Waits at most `timeoutMs` for the end; false if it is still running.
bool WaitProgramExit(const ProgramRun *run, DWORD timeoutMs, DWORD *exitCode);
// Closes its windows, ends it if they do not go, and releases the handles.
// Safe on a run that has already ended or never started.
void EndProgram(ProgramRun *run);
