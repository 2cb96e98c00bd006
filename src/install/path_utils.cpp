// Text routines over 8-bit paths, read byte by byte from the end.
#include <windows.h>
#include <string.h>
#include "path_utils.h"

static const char EMPTY_TEXT[] = "";

// Index of the last backslash or colon, or -1.
static int LastSeparator(const char *path) {
    for (int i = lstrlenA(path) - 1; i >= 0; i--)
        if (path[i] == '\\' || path[i] == ':')
            return i;
    return -1;
}

const char *ExtractFileName(char *dst, int size, const char *path) {
    dst[0] = '\0';
    if (size < PATH_OUTPUT_MIN)
        return EMPTY_TEXT;
    lstrcpynA(dst, path, size - 1);
    int separator = LastSeparator(path);
    if (separator >= 0)
        strncpy(dst, path + separator + 1, size - 1);
    dst[size - 1] = '\0';
    return dst;
}

const char *ExtractDirectory(char *dst, int size, const char *path) {
    dst[0] = '\0';
    if (size < PATH_OUTPUT_MIN)
        return EMPTY_TEXT;
    int separator = LastSeparator(path);
    if (separator < 0)
        return dst;
    int count = separator + 1;
    if (count >= size)
        count = size - 1;
    lstrcpynA(dst, path, count);
    return dst;
}

int ReplaceFileName(char *path, int size, const char *fileName) {
    const char *backslash = strrchr(path, '\\');
    int nameStart = backslash != NULL ? (int)(backslash - path) + 1 : 0;
    if (nameStart + lstrlenA(fileName) + 1 > size)
        return 0;
    lstrcpyA(path + nameStart, fileName);
    return 1;
}
