#include <windows.h>
#include "prefix_arch.h"
#include "check.h"

bool ProcessUnderWow64(HANDLE process, bool *wow64) {
    BOOL flag = FALSE;
    *wow64 = false;
    if (!IsWow64Process(process, &flag)) {
        Note("IsWow64Process failed, error %lu", GetLastError());
        return false;
    }
    *wow64 = flag != FALSE;
    return true;
}

bool CheckPrefixArch(void) {
    bool wow64 = false;
    if (!CheckTrue(ProcessUnderWow64(GetCurrentProcess(), &wow64), "tell whether WoW64 runs us")) {
        return false;
    }
    return CheckTrue(sizeof(void *) == 8 && !wow64, "the driver is a 64-bit process");
}
