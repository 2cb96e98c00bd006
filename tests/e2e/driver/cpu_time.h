// CPU time of another process's thread. Wine 8 reports zero user and kernel
// time from GetProcessTimes for any process but the caller's own, while
// GetThreadTimes reads the thread's real figures from the host.
#pragma once
#include <windows.h>

// User plus kernel time of `thread` in milliseconds; false on failure.
bool ReadThreadCpuMs(HANDLE thread, DWORD *milliseconds);
