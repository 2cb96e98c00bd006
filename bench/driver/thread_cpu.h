// CPU time of another process's primary thread. Wine 8 reports zero from
// GetProcessTimes for any process but the caller's, while GetThreadTimes
// reads the thread's real figures from the host.
#pragma once
#include <windows.h>

// User plus kernel time in milliseconds; false on failure.
bool ReadThreadCpuMs(HANDLE thread, DWORD *milliseconds);
