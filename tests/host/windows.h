// The few Win32 names the pure text routines use, with Windows' semantics,
// so that they build and run on the host.
#pragma once
#include <stdio.h>
#include <string.h>
#include <strings.h>

#define MAX_PATH       260
#define lstrlenA(text) ((int)strlen(text))
#define lstrcpyA       strcpy
#define lstrcmpiA      strcasecmp
// At most n - 1 characters, always terminated when n > 0.
#define lstrcpynA(dst, src, n) snprintf(dst, n, "%s", src)
