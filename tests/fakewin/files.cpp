// The file table: existence probes and appending writers through
// CreateFileA, CopyFileA, files held open elsewhere; named mutexes, which
// share the handle table; and a fixed clock.
#include <windows.h>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include "fakewin_internal.h"

using fakewin::detail::Folded;
using fakewin::detail::ShouldFail;

namespace {

struct File {
    std::string contents;
    bool locked;
    bool device; // a character device such as CON
};

std::map<std::string, File> g_files; // by folded path
// Open handles: the folded path a writer appends to, "" for a probe, or
// "mutex:" and the folded name.
std::map<HANDLE, std::string> g_openFiles;
std::set<std::string> g_mutexes; // folded names of those that exist
uintptr_t g_nextHandle;

HANDLE NewHandle(const std::string &target) {
    HANDLE handle = (HANDLE)(0x200000 + 4 * ++g_nextHandle);
    g_openFiles[handle] = target;
    return handle;
}

File *Find(const char *path) {
    auto f = g_files.find(Folded(path));
    return f == g_files.end() ? nullptr : &f->second;
}

} // namespace

HANDLE WINAPI CreateFileA(LPCSTR fileName, DWORD, DWORD shareMode, LPSECURITY_ATTRIBUTES,
                          DWORD disposition, DWORD, HANDLE) {
    long error;
    if (ShouldFail("CreateFileA", fileName, &error)) {
        SetLastError(error);
        return INVALID_HANDLE_VALUE;
    }
    if (disposition != OPEN_EXISTING && disposition != OPEN_ALWAYS)
        ADD_FAILURE() << "fakewin: CreateFileA opens existing files or appends";
    if (disposition == OPEN_ALWAYS && fileName && !Find(fileName))
        g_files[Folded(fileName)] = {"", false, false};
    File *file = fileName ? Find(fileName) : nullptr;
    if (!file) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    if (file->locked && shareMode == 0) {
        SetLastError(ERROR_SHARING_VIOLATION);
        return INVALID_HANDLE_VALUE;
    }
    return NewHandle(disposition == OPEN_ALWAYS ? Folded(fileName) : "");
}

// Writers always append: the program only ever writes at the end.
BOOL WINAPI WriteFile(HANDLE handle, LPCVOID data, DWORD bytes, LPDWORD written, void *) {
    long error;
    *written = 0;
    if (ShouldFail("WriteFile", nullptr, &error)) {
        SetLastError(error);
        return FALSE;
    }
    auto open = g_openFiles.find(handle);
    if (open == g_openFiles.end() || !g_files.count(open->second)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    g_files[open->second].contents.append((const char *)data, bytes);
    *written = bytes;
    return TRUE;
}

DWORD WINAPI SetFilePointer(HANDLE handle, LONG distance, LONG *, DWORD method) {
    auto open = g_openFiles.find(handle);
    if (method != FILE_END || distance != 0)
        ADD_FAILURE() << "fakewin: SetFilePointer only moves to the end";
    if (open == g_openFiles.end() || !g_files.count(open->second)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return INVALID_SET_FILE_POINTER;
    }
    return (DWORD)g_files[open->second].contents.size();
}

DWORD WINAPI GetFileType(HANDLE handle) {
    auto open = g_openFiles.find(handle);
    if (open == g_openFiles.end() || !g_files.count(open->second))
        return 0;
    return g_files[open->second].device ? FILE_TYPE_CHAR : FILE_TYPE_DISK;
}

HANDLE WINAPI CreateMutexA(LPSECURITY_ATTRIBUTES, BOOL, LPCSTR name) {
    long error;
    if (ShouldFail("CreateMutexA", name, &error)) {
        SetLastError(error);
        return nullptr;
    }
    bool existed = !g_mutexes.insert(Folded(name)).second;
    SetLastError(existed ? ERROR_ALREADY_EXISTS : 0);
    return NewHandle("mutex:" + Folded(name));
}

void WINAPI GetLocalTime(LPSYSTEMTIME time) {
    *time = {2026, 12, 1, 7, 9, 5, 3, 0};
}

BOOL WINAPI CloseHandle(HANDLE handle) {
    long error;
    if (ShouldFail("CloseHandle", nullptr, &error)) {
        SetLastError(error);
        return FALSE;
    }
    auto open = g_openFiles.find(handle);
    if (open == g_openFiles.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    // The last handle of a mutex takes it away.
    std::string target = open->second;
    g_openFiles.erase(open);
    if (target.rfind("mutex:", 0) == 0) {
        bool stillOpen = false;
        for (const auto &other : g_openFiles)
            stillOpen = stillOpen || other.second == target;
        if (!stillOpen)
            g_mutexes.erase(target.substr(6));
    }
    return TRUE;
}

BOOL WINAPI CopyFileA(LPCSTR existingFile, LPCSTR newFile, BOOL failIfExists) {
    long error;
    if (ShouldFail("CopyFileA", newFile, &error)) {
        SetLastError(error);
        return FALSE;
    }
    File *src = existingFile ? Find(existingFile) : nullptr;
    File *dst = newFile ? Find(newFile) : nullptr;
    if (!src || !newFile) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    if (dst && failIfExists) {
        SetLastError(ERROR_FILE_EXISTS);
        return FALSE;
    }
    // The source is read shared; a target held open elsewhere (or the source
    // itself) cannot be replaced.
    if (dst && (dst->locked || dst == src)) {
        SetLastError(ERROR_SHARING_VIOLATION);
        return FALSE;
    }
    g_files[Folded(newFile)] = {src->contents, false, false};
    fakewin::detail::CopyModule(existingFile, newFile);
    fakewin::detail::CopyVersion(existingFile, newFile);
    return TRUE;
}

namespace fakewin {

void AddFile(const char *path, const char *contents) {
    g_files[detail::Folded(path)] = {contents, false, false};
}

void RemoveFile(const char *path) {
    g_files.erase(detail::Folded(path));
}

bool FileExists(const char *path) {
    return Find(path) != nullptr;
}

std::string FileContents(const char *path) {
    File *file = Find(path);
    return file ? file->contents : "";
}

void LockFile(const char *path) {
    if (File *file = Find(path))
        file->locked = true;
    else
        ADD_FAILURE() << "fakewin: LockFile of a missing file " << path;
}

int OpenFileHandles() {
    return (int)g_openFiles.size();
}

void AddDevice(const char *path) {
    g_files[detail::Folded(path)] = {"", false, true};
}

void HoldMutex(const char *name) {
    g_mutexes.insert(detail::Folded(name));
}

namespace detail {

void ResetFiles() {
    g_files.clear();
    g_openFiles.clear();
    g_mutexes.clear();
    g_nextHandle = 0;
}

} // namespace detail
} // namespace fakewin
