// Process entry of the real program: hands over to the installer.
#include <windows.h>
#include "installer.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand) {
    return InstallerMain(instance, previous, commandLine, showCommand);
}
