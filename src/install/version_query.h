// Reading the component library's version through its own export.
#pragma once
#include "../companions/component_library.h"

extern char g_libraryVersion[COMPONENT_VERSION_SIZE];

// Points path (260 bytes) at the library file in its folder; returns the
// version text or null after telling the operator why.
const char *QueryLibraryVersion(char *path);
