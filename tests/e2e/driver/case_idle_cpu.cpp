// An idle main window must wait for messages, not poll for them: under Wine a
// polling loop costs from a third to two thirds of a core, and the Wine
// server about as much again.
#include <windows.h>
#include "cases.h"
#include "check.h"
#include "cpu_time.h"
#include "main_window_wait.h"

#define SETTLE_MS       500
#define MEASURE_MS      5000
#define MAX_IDLE_TENTHS 100 // 10.0 % of one core

static void MeasureIdleCpu(HWND window, ProgramRun *run) {
    Sleep(SETTLE_MS);
    DWORD cpuBefore = 0;
    DWORD cpuAfter = 0;
    if (!CheckTrue(ReadThreadCpuMs(run->thread, &cpuBefore), "read the program's CPU time")) {
        return;
    }
    // The start-up certainly used some CPU: a zero here means the clock
    // cannot be read across processes, and the idle figure would mean nothing.
    char what[160];
    wsprintfA(what, "the program's CPU clock runs (%lu ms at start-up)", cpuBefore);
    if (!CheckTrue(cpuBefore > 0, what)) {
        return;
    }
    DWORD wallBefore = GetTickCount();
    bool exited = WaitForSingleObject(run->process, MEASURE_MS) == WAIT_OBJECT_0;
    DWORD wall = GetTickCount() - wallBefore;
    if (!CheckTrue(!exited, "the program stays up while idle")) {
        return;
    }
    if (!CheckTrue(ReadThreadCpuMs(run->thread, &cpuAfter), "read the program's CPU time again")) {
        return;
    }
    DWORD used = cpuAfter - cpuBefore;
    DWORD tenths = wall > 0 ? (DWORD)((ULONGLONG)used * 1000 / wall) : 0;
    wsprintfA(what, "idle CPU %lu.%lu%% of one core (%lu ms in %lu ms), below 10%%", tenths / 10,
              tenths % 10, used, wall);
    CheckTrue(tenths < MAX_IDLE_TENTHS, what);
    CheckTrue(IsWindowVisible(window) != 0, "main window still shown");
}

void CaseIdleCpu(int argc, char **argv) {
    ProgramRun run;
    HWND window = StartAndWaitForMainWindow(argc, argv, &run);
    if (window != NULL) {
        MeasureIdleCpu(window, &run);
        CloseMainWindowExpectExit(window, &run);
    }
    EndProgram(&run);
}
