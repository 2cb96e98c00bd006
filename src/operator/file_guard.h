// The files the elevated program writes, opened so that a link cannot send
// the writes to another file.
#pragma once
#include <windows.h>

// Opens path for writing, an existing file or else a new one, with the
// share mode given. Returns INVALID_HANDLE_VALUE with the system's error
// when it cannot, and with ERROR_CANT_ACCESS_FILE when the file has another
// name too (a hard link) or is not the file the path names (a symbolic link,
// junction or mount point on the way).
HANDLE OpenFileToWrite(const char *path, DWORD share);
