// The few Win32 names the pure text routines use, with Windows' semantics,
// so that they build and run on the host.
#pragma once
#include <string.h>
#include <strings.h>

#define MAX_PATH 260

inline int lstrlenA(const char *text) {
    return text != NULL ? (int)strlen(text) : 0;
}

inline char *lstrcpyA(char *dst, const char *src) {
    return strcpy(dst, src);
}

// At most n - 1 characters, always terminated when n > 0.
inline char *lstrcpynA(char *dst, const char *src, int n) {
    int i = 0;
    for (; i < n - 1 && src[i] != '\0'; i++)
        dst[i] = src[i];
    if (n > 0)
        dst[i] = '\0';
    return dst;
}

inline int lstrcmpiA(const char *a, const char *b) {
    return strcasecmp(a, b);
}
