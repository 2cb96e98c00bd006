// The component's registry layout: the keys a registration writes and a reset
// and a check look for, formed in one place so that each finds the others'.
#pragma once
#include <windows.h>

// The five keys of a registration, under HKEY_LOCAL_MACHINE as the program
// sees them: the ProgID, its link to the class, the class, its server and
// its link to the ProgID. Each path needs COMPONENT_KEY_PATH_SIZE bytes.
enum { COMPONENT_KEY_COUNT = 5, COMPONENT_KEY_PATH_SIZE = 512 };
void FormatComponentKeys(char paths[][COMPONENT_KEY_PATH_SIZE], const char *guidText);
// The type library's own registration key, for its LIBID.
void FormatTypeLibraryKey(char *path);
