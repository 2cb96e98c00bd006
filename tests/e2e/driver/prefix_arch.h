// Which Windows the prefix plays: a 32-bit one, or a 64-bit one where the
// program, the driver and the 32-bit script host run under WoW64. The
// harness says which (QV_PREFIX_ARCH=win64) and the driver checks it, so a
// 64-bit run can never pass on a 32-bit prefix by mistake.
#pragma once
#include <windows.h>

// True when QV_PREFIX_ARCH is "win64".
bool PrefixIs64Bit(void);
// The driver runs under WoW64 exactly when the prefix is meant to be 64-bit.
bool CheckPrefixArch(void);
// Whether `process` is a 32-bit process on a 64-bit Windows; false (with a
// note) when it cannot be told.
bool ProcessUnderWow64(HANDLE process, bool *wow64);
