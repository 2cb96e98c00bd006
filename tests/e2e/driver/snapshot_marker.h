// Pictures of the program taken from outside: the driver announces a
// snapshot with a line "[..] snapshot <name> <x> <y> <width> <height>" (the
// window's screen rectangle) and waits, bounded, until the shell that reads
// its output has saved the picture and created "<name>.done" in the folder
// named by QV_TOUR_SNAPSHOTS. Without that variable it does not wait.
#pragma once
#include <windows.h>

void TakeSnapshot(HWND window, const char *name);
