// Idle cost: both programs sit at their main window with nothing to do. They
// run at the same time, which halves the wall time; on two cores the
// waiting one takes nothing from the polling one.
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

static bool IdleRound(IdleSubject *subjects, int count, int seconds) {
    HANDLE processes[2];
    for (int i = 0; i < count; ++i) {
        subjects[i].window = OpenMainWindow(subjects[i].path, &subjects[i].run);
        if (subjects[i].window == NULL) {
            return false;
        }
        processes[i] = subjects[i].run.process;
    }
    Sleep(SETTLE_MS);
    for (int i = 0; i < count; ++i) {
        if (!ReadStartCpu(&subjects[i])) {
            return false;
        }
    }
    LONGLONG start = StopwatchNow();
    if (WaitForMultipleObjects(count, processes, FALSE, seconds * 1000) != WAIT_TIMEOUT) {
        Note("a program ended while idle");
        return false;
    }
    long wallMs = (long)(StopwatchElapsedUs(start) / 1000);
    for (int i = 0; i < count; ++i) {
        DWORD cpuAfter = 0;
        if (!ReadThreadCpuMs(subjects[i].run.thread, &cpuAfter)) {
            Note("cannot read the CPU time of %s again", subjects[i].name);
            return false;
        }
        PrintSamplePair("idle-cpu", subjects[i].name, (long)(cpuAfter - subjects[i].cpuBefore),
                        wallMs);
    }
    bool closed = true;
    for (int i = 0; i < count; ++i) {
        closed = CloseMainWindow(&subjects[i].run, subjects[i].window) && closed;
    }
    return closed;
}

bool MeasureIdleCpu(const char *program, const char *busyProgram, int rounds, int seconds) {
    IdleSubject subjects[2] = {
        {"ours", program, {NULL, NULL, 0}, NULL, 0},
        {"baseline", busyProgram, {NULL, NULL, 0}, NULL, 0},
    };
    for (int round = 1; round <= rounds; ++round) {
        Note("idle CPU, round %d of %d (%d s)", round, rounds, seconds);
        bool measured = IdleRound(subjects, 2, seconds);
        EndLaunched(&subjects[0].run);
        EndLaunched(&subjects[1].run);
        if (!measured) {
            return false;
        }
    }
    return true;
}
