// Wall-clock intervals from the performance counter, in microseconds.
#pragma once
#include <windows.h>

LONGLONG StopwatchNow(void);
// Microseconds from `start` (a StopwatchNow value) to now.
LONGLONG StopwatchElapsedUs(LONGLONG start);
