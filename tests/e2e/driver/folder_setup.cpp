#include <windows.h>
#include <string.h>
#include "folder_setup.h"
#include "check.h"

bool FileExists(const char *path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// Calls `visit` with the full path of each plain file in `folder`; returns
// how many there were, or -1.
static int ForEachFile(const char *folder, bool (*visit)(const char *path)) {
    char pattern[MAX_PATH];
    char path[MAX_PATH];
    WIN32_FIND_DATAA found;
    wsprintfA(pattern, "%s\\*", folder);
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) {
        return GetLastError() == ERROR_FILE_NOT_FOUND ? 0 : -1;
    }
    int count = 0;
    bool ok = true;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            continue;
        }
        ++count;
        wsprintfA(path, "%s\\%s", folder, found.cFileName);
        if (visit != NULL && !visit(path)) {
            Note("could not remove %s (error %lu)", path, GetLastError());
            ok = false;
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return ok ? count : -1;
}

static bool RemoveFile(const char *path) {
    SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
    return DeleteFileA(path) != 0;
}

int CountFiles(const char *folder) {
    return ForEachFile(folder, NULL);
}

bool PrepareFolder(const char *folder, const FolderFile *files, int count) {
    if (!CreateDirectoryA(folder, NULL) && GetLastError() != ERROR_ALREADY_EXISTS) {
        Note("could not create %s (error %lu)", folder, GetLastError());
        return false;
    }
    if (ForEachFile(folder, RemoveFile) < 0) {
        return false;
    }
    char target[MAX_PATH];
    for (int i = 0; i < count; ++i) {
        wsprintfA(target, "%s\\%s", folder, files[i].name);
        if (!CopyFileA(files[i].source, target, FALSE)) {
            Note("could not copy %s to %s (error %lu)", files[i].source, target, GetLastError());
            return false;
        }
    }
    return true;
}

#define COMPARE_CHUNK 4096

static HANDLE OpenForReading(const char *path) {
    return CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, NULL);
}

bool SameFileContent(const char *first, const char *second) {
    HANDLE a = OpenForReading(first);
    HANDLE b = OpenForReading(second);
    bool same = a != INVALID_HANDLE_VALUE && b != INVALID_HANDLE_VALUE;
    static char chunkA[COMPARE_CHUNK];
    static char chunkB[COMPARE_CHUNK];
    while (same) {
        DWORD gotA = 0;
        DWORD gotB = 0;
        if (!ReadFile(a, chunkA, COMPARE_CHUNK, &gotA, NULL) ||
            !ReadFile(b, chunkB, COMPARE_CHUNK, &gotB, NULL) || gotA != gotB) {
            same = false;
        } else if (gotA == 0) {
            break;
        } else {
            same = memcmp(chunkA, chunkB, gotA) == 0;
        }
    }
    if (a != INVALID_HANDLE_VALUE) {
        CloseHandle(a);
    }
    if (b != INVALID_HANDLE_VALUE) {
        CloseHandle(b);
    }
    return same;
}
