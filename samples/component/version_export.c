// The export the installer calls to show the library's version.
#include "component.h"

void WINAPI Get_VersaoDLL(char *buffer) {
    if (buffer == NULL)
        return;
    // Test switch: a component that breaks the contract, filling the whole
    // buffer with no terminator.
    if (GetEnvironmentVariableA("QUORVALIS_VERSION_FILL", NULL, 0) > 0)
        FillMemory(buffer, QUORVALIS_VERSION_SIZE, 'V');
    else
        lstrcpynA(buffer, QUORVALIS_VERSION_TEXT, QUORVALIS_VERSION_SIZE);
}
