#include <windows.h>
#include <string.h>
#include "prefix_arch.h"
#include "check.h"

bool PrefixIs64Bit(void) {
    char arch[16];
    DWORD length = GetEnvironmentVariableA("QV_PREFIX_ARCH", arch, sizeof arch);
    return length > 0 && length < sizeof arch && strcmp(arch, "win64") == 0;
}

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
    if (PrefixIs64Bit()) {
        return CheckTrue(wow64, "64-bit prefix: the driver runs under WoW64");
    }
    return CheckTrue(!wow64, "32-bit prefix: the driver does not run under WoW64");
}
