// Idle cost: each program sits at its main window with nothing to do, the
// two one after the other in each round.
#include <windows.h>
#include "measurements.h"
#include "launched_process.h"
#include "program_walk.h"
#include "report_lines.h"
#include "stopwatch.h"
#include "cpu_time.h"

#define SETTLE_MS 1000

struct IdleSubject {
    const char *name;
    const char *path;
    Launched run;
    HWND window;
    DWORD cpuBefore;
};

static bool ReadStartCpu(IdleSubject *subject) {
    if (!ReadThreadCpuMs(subject->run.thread, &subject->cpuBefore)) {
        Note("cannot read the CPU time of %s", subject->name);
        return false;
    }
    // Start-up certainly took some CPU: zero means the clock is not read
    // across processes and the figure would mean nothing.
    if (subject->cpuBefore == 0) {
        Note("the CPU clock of %s reads 0 after start-up", subject->name);
        return false;
    }
    return true;
}

// One subject at a time: the program lets only one copy of itself run.
static bool IdleRun(IdleSubject *subject, int seconds) {
    subject->window = OpenMainWindow(subject->path, &subject->run);
    if (subject->window == NULL) {
        return false;
    }
    Sleep(SETTLE_MS);
    if (!ReadStartCpu(subject)) {
        return false;
    }
    LONGLONG start = StopwatchNow();
    if (WaitForSingleObject(subject->run.process, seconds * 1000) != WAIT_TIMEOUT) {
        Note("%s ended while idle", subject->name);
        return false;
    }
    long wallMs = (long)(StopwatchElapsedUs(start) / 1000);
    DWORD cpuAfter = 0;
    if (!ReadThreadCpuMs(subject->run.thread, &cpuAfter)) {
        Note("cannot read the CPU time of %s again", subject->name);
        return false;
    }
    PrintSamplePair("idle-cpu", subject->name, (long)(cpuAfter - subject->cpuBefore), wallMs);
    return CloseMainWindow(&subject->run, subject->window);
}

bool MeasureIdleCpu(const char *program, const char *busyProgram, int rounds, int seconds) {
    IdleSubject subjects[2] = {
        {"ours", program, {NULL, NULL, 0}, NULL, 0},
        {"baseline", busyProgram, {NULL, NULL, 0}, NULL, 0},
    };
    for (int round = 1; round <= rounds; ++round) {
        Note("idle CPU, round %d of %d (%d s)", round, rounds, seconds);
        for (int i = 0; i < 2; ++i) {
            bool measured = IdleRun(&subjects[i], seconds);
            EndLaunched(&subjects[i].run);
            if (!measured) {
                return false;
            }
        }
    }
    return true;
}
