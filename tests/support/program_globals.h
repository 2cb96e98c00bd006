// The program's globals back to their state before start-up, on an empty
// fake machine: what every unit test and every fuzz run starts from.
#pragma once
#include <windows.h>

// The registrar entries are left unresolved (NULL); `versionFill` is the byte
// the library version buffer is filled with, so a missing write shows.
void ResetProgramGlobals(unsigned char versionFill);
