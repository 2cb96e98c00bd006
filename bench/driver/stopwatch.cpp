#include <windows.h>
#include "stopwatch.h"

LONGLONG StopwatchNow(void) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

LONGLONG StopwatchElapsedUs(LONGLONG start) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return (StopwatchNow() - start) * 1000000 / frequency.QuadPart;
}
