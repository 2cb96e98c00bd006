// The prefix is a 64-bit Windows where the program and the 32-bit script
// host run under WoW64, and the driver is a 64-bit process: under emulation
// only a 64-bit process can start a 32-bit one.
#pragma once
#include <windows.h>

// The driver is a 64-bit process on a 64-bit Windows.
bool CheckPrefixArch(void);
// Whether `process` is a 32-bit process on a 64-bit Windows; false (with a
// note) when it cannot be told.
bool ProcessUnderWow64(HANDLE process, bool *wow64);
