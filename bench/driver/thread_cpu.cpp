#include <windows.h>
#include "thread_cpu.h"

static ULONGLONG FileTimeTicks(const FILETIME *time) {
    return ((ULONGLONG)time->dwHighDateTime << 32) | time->dwLowDateTime;
}

bool ReadThreadCpuMs(HANDLE thread, DWORD *milliseconds) {
    FILETIME created, exited, kernel, user;
    if (!GetThreadTimes(thread, &created, &exited, &kernel, &user)) {
        return false;
    }
    // FILETIME counts 100-nanosecond units.
    *milliseconds = (DWORD)((FileTimeTicks(&kernel) + FileTimeTicks(&user)) / 10000);
    return true;
}
