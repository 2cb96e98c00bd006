// Version blocks of files and the global memory they are read into.
#include <windows.h>
#include <stdlib.h>
#include <map>
#include "fakewin_internal.h"

using fakewin::detail::CountCall;
using fakewin::detail::Folded;
using fakewin::detail::ShouldFail;

namespace {

typedef std::vector<std::pair<std::string, std::string>> Strings;

// A block is "FWVB", its total size (4 bytes), then key NUL value NUL pairs
// and an empty key; queries point into it like the real ones.
const char kMagic[4] = {'F', 'W', 'V', 'B'};

std::map<std::string, Strings> g_versions; // by folded file name

struct Block {
    void *data;
    bool moveable;
    int locks;
};
std::map<HGLOBAL, Block> g_blocks;
uintptr_t g_nextHandle;

std::string Serialise(const Strings &values) {
    std::string body;
    for (const auto &v : values)
        body += v.first + '\0' + v.second + '\0';
    body += '\0';
    uint32_t size = (uint32_t)(sizeof kMagic + sizeof size + body.size());
    return std::string(kMagic, sizeof kMagic) + std::string((const char *)&size, sizeof size) +
           body;
}

const Strings *Find(const char *file) {
    auto v = g_versions.find(Folded(file));
    return v == g_versions.end() ? nullptr : &v->second;
}

} // namespace

DWORD WINAPI GetFileVersionInfoSizeA(LPCSTR fileName, LPDWORD handle) {
    if (handle)
        *handle = 0;
    long error;
    if (ShouldFail("GetFileVersionInfoSizeA", fileName, &error)) {
        SetLastError(error);
        return 0;
    }
    const Strings *values = fileName ? Find(fileName) : nullptr;
    if (!values) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return 0;
    }
    return (DWORD)Serialise(*values).size();
}

BOOL WINAPI GetFileVersionInfoA(LPCSTR fileName, DWORD, DWORD length, LPVOID data) {
    long error;
    if (ShouldFail("GetFileVersionInfoA", fileName, &error)) {
        SetLastError(error);
        return FALSE;
    }
    const Strings *values = fileName ? Find(fileName) : nullptr;
    if (!values || !data) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return FALSE;
    }
    std::string block = Serialise(*values);
    if (length < block.size()) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    memcpy(data, block.data(), block.size());
    return TRUE;
}

BOOL WINAPI VerQueryValueA(LPCVOID block, LPCSTR subBlock, LPVOID *buffer, PUINT length) {
    long error;
    if (ShouldFail("VerQueryValueA", nullptr, &error) || !block || !subBlock || !buffer ||
        !length || memcmp(block, kMagic, sizeof kMagic) != 0)
        return FALSE;
    std::string wanted = Folded(subBlock);
    for (char *key = (char *)block + 8; *key;) {
        char *value = key + strlen(key) + 1;
        if (Folded(key) == wanted) {
            *buffer = value;
            *length = (UINT)strlen(value) + 1;
            return TRUE;
        }
        key = value + strlen(value) + 1;
    }
    return FALSE;
}

HGLOBAL WINAPI GlobalAlloc(UINT flags, SIZE_T bytes) {
    long error;
    if (ShouldFail("GlobalAlloc", nullptr, &error)) {
        SetLastError(error);
        return nullptr;
    }
    void *data = malloc(bytes ? bytes : 1);
    if (flags & GMEM_ZEROINIT)
        memset(data, 0, bytes);
    bool moveable = (flags & GMEM_MOVEABLE) != 0;
    HGLOBAL handle = moveable ? (HGLOBAL)(0x700000 + 8 * ++g_nextHandle) : data;
    g_blocks[handle] = {data, moveable, 0};
    return handle;
}

LPVOID WINAPI GlobalLock(HGLOBAL memory) {
    long error;
    if (ShouldFail("GlobalLock", nullptr, &error)) {
        SetLastError(error);
        return nullptr;
    }
    auto b = g_blocks.find(memory);
    if (b == g_blocks.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (b->second.moveable)
        b->second.locks++;
    return b->second.data;
}

BOOL WINAPI GlobalUnlock(HGLOBAL memory) {
    CountCall("GlobalUnlock");
    auto b = g_blocks.find(memory);
    if (b == g_blocks.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (b->second.locks > 0)
        b->second.locks--;
    SetLastError(NO_ERROR);
    return b->second.locks > 0;
}

HGLOBAL WINAPI GlobalFree(HGLOBAL memory) {
    CountCall("GlobalFree");
    auto b = g_blocks.find(memory);
    if (b == g_blocks.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return memory;
    }
    free(b->second.data);
    g_blocks.erase(b);
    return nullptr;
}

namespace fakewin {

void SetVersionStrings(const char *file, std::vector<std::pair<std::string, std::string>> values) {
    g_versions[detail::Folded(file)] = values;
}

int GlobalBlocksOutstanding() {
    return (int)g_blocks.size();
}

namespace detail {

void CopyVersion(const char *from, const char *to) {
    if (const Strings *values = Find(from))
        g_versions[Folded(to)] = *values;
    else
        g_versions.erase(Folded(to));
}

void ResetVersion() {
    g_versions.clear();
    for (auto &b : g_blocks)
        free(b.second.data);
    g_blocks.clear();
    g_nextHandle = 0;
}

} // namespace detail
} // namespace fakewin
