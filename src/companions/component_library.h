// The component library the program installs: the one export it calls.
#pragma once
#include <windows.h>

#define COMPONENT_VERSION_EXPORT "Get_VersaoDLL"
#define COMPONENT_VERSION_SIZE   512

// Writes a NUL-terminated text of at most COMPONENT_VERSION_SIZE - 1 characters.
typedef void(WINAPI *GetVersionEntry)(char *version);
