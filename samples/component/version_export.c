// The export the installer calls to show the library's version.
#include "component.h"

void WINAPI Get_VersaoDLL(char *buffer) {
    if (buffer != NULL) {
        lstrcpynA(buffer, QUORVALIS_VERSION_TEXT, QUORVALIS_VERSION_SIZE);
    }
}
