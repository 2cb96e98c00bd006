// The file table: existence probes through CreateFileA, CopyFileA, and files
// held open elsewhere.
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
};

std::map<std::string, File> g_files; // by folded path
std::set<HANDLE> g_openFiles;
uintptr_t g_nextHandle;

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
    if (disposition != OPEN_EXISTING)
        ADD_FAILURE() << "fakewin: CreateFileA only opens existing files";
    File *file = fileName ? Find(fileName) : nullptr;
    if (!file) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    if (file->locked && shareMode == 0) {
        SetLastError(ERROR_SHARING_VIOLATION);
        return INVALID_HANDLE_VALUE;
    }
    HANDLE handle = (HANDLE)(0x200000 + 4 * ++g_nextHandle);
    g_openFiles.insert(handle);
    return handle;
}

BOOL WINAPI CloseHandle(HANDLE handle) {
    long error;
    if (ShouldFail("CloseHandle", nullptr, &error)) {
        SetLastError(error);
        return FALSE;
    }
    if (!g_openFiles.erase(handle)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
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
    g_files[Folded(newFile)] = {src->contents, false};
    fakewin::detail::CopyModule(existingFile, newFile);
    fakewin::detail::CopyVersion(existingFile, newFile);
    return TRUE;
}

namespace fakewin {

void AddFile(const char *path, const char *contents) {
    g_files[detail::Folded(path)] = {contents, false};
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

namespace detail {

void ResetFiles() {
    g_files.clear();
    g_openFiles.clear();
    g_nextHandle = 0;
}

} // namespace detail
} // namespace fakewin
