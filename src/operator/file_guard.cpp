// The program runs elevated, and a standard user can plant a link where an
// administrator writes (a shared folder, C:\Windows\Temp): written through,
// it would append to or replace a file that user could never write. So only
// the file a path names, with no other name, is written.
#include <windows.h>
#include <string.h>
#include "file_guard.h"
#include "../companions/libraries.h"

#define FINAL_PATH_SIZE (2 * MAX_PATH)

// The path without the \\?\ of a long path; \\?\UNC\server as \\server.
static char *WithoutLongPrefix(char *path) {
    if (strncmp(path, "\\\\?\\UNC\\", 8) == 0)
        *(path += 6) = '\\';
    else if (strncmp(path, "\\\\?\\", 4) == 0)
        path += 4;
    return path;
}

// A folder on the way, or the file itself, that is a reparse point: a
// symbolic link, a junction or a mount point. Windows shows each so, even
// before Vista; Wine only a link to a folder.
static int PassesReparsePoint(const char *path) {
    char part[MAX_PATH];
    lstrcpynA(part, path, MAX_PATH);
    for (int end = lstrlenA(part); end > 2; end--) {
        if (part[end] != '\\' && part[end] != '\0')
            continue;
        part[end] = '\0';
        DWORD attributes = GetFileAttributesA(part);
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
            return 1;
    }
    return 0;
}

// Whether the file opened is the one named (full, long names, in capitals):
// the system's own path of the opened file, links followed, must be the
// same. A drive letter mapped to a share comes back as \\server\share\...;
// there everything after the letter must be the same.
static int IsFileNamed(HANDLE file, const char *named) {
    char final[FINAL_PATH_SIZE];
    DWORD length = CallGetFinalPathNameByHandleA(file, final, FINAL_PATH_SIZE);
    if (length == 0)
        return GetLastError() == ERROR_PROC_NOT_FOUND; // before Vista, the reparse points tell
    if (length >= FINAL_PATH_SIZE)
        return 0;
    const char *opened = CharUpperA(WithoutLongPrefix(final));
    int tail = lstrlenA(opened) - lstrlenA(named + 2);
    char root[] = {named[0], ':', '\\', '\0'};
    return strcmp(opened, named) == 0 ||
           (named[1] == ':' && opened[0] == '\\' && opened[1] == '\\' && tail > 2 &&
            strcmp(opened + tail, named + 2) == 0 && GetDriveTypeA(root) == DRIVE_REMOTE);
}

HANDLE OpenFileToWrite(const char *path, DWORD share) {
    char full[MAX_PATH] = ""; // read below even when the call fails
    BY_HANDLE_FILE_INFORMATION information;
    DWORD length = GetFullPathNameA(path, MAX_PATH, full, NULL);
    char *named = WithoutLongPrefix(full);
    // Checked before the open too, so that no file is made through a link.
    if (length == 0 || length >= MAX_PATH || PassesReparsePoint(named)) {
        SetLastError(length == 0 ? GetLastError() : ERROR_CANT_ACCESS_FILE);
        return INVALID_HANDLE_VALUE;
    }
    HANDLE file =
        CreateFileA(path, GENERIC_WRITE, share, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    // CREATE_NEW, unlike OPEN_ALWAYS, makes no file at the far end of a dangling link.
    if (file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_NOT_FOUND)
        file =
            CreateFileA(path, GENERIC_WRITE, share, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return file;
    // Short names spelled out, as the system gives the opened file's path.
    GetLongPathNameA(named, named, MAX_PATH - (DWORD)(named - full));
    if (GetFileInformationByHandle(file, &information) && information.nNumberOfLinks == 1 &&
        IsFileNamed(file, CharUpperA(named)))
        return file;
    CloseHandle(file);
    SetLastError(ERROR_CANT_ACCESS_FILE);
    return INVALID_HANDLE_VALUE;
}
