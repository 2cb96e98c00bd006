// Picking the component library, checking it and optionally copying it.
#pragma once

// Returns 1 with the library path in out (260 bytes at least), or 0 with out empty.
int SelectAndInstallLibrary(char *out);
