// Loadable libraries with named exports, their load counts, and module file
// names (the program's own included).
#include <windows.h>
#include <map>
#include "fakewin_internal.h"

using fakewin::detail::Folded;
using fakewin::detail::ShouldFail;

namespace {

struct Module {
    std::string name; // as registered: a full path or a bare file name
    std::vector<std::pair<std::string, void *>> exports;
    int loads;
};

std::vector<Module> g_modules; // module i has the handle kFirstModule * (i + 1)
std::map<HMODULE, std::string> g_fileNames;
const uintptr_t kFirstModule = 0x10000000;
HMODULE const kProgram = (HMODULE)0x400000;
const char *const kProgramFile = "C:\\App\\program.exe";

Module *ByName(const char *name) {
    for (Module &m : g_modules)
        if (Folded(m.name.c_str()) == Folded(name))
            return &m;
    return nullptr;
}

HMODULE HandleOf(const Module &m) {
    return (HMODULE)(kFirstModule * (&m - g_modules.data() + 1));
}

// A loaded module only.
Module *ByHandle(HMODULE handle) {
    uintptr_t h = (uintptr_t)handle;
    if (h % kFirstModule || h / kFirstModule == 0 || h / kFirstModule > g_modules.size())
        return nullptr;
    Module *m = &g_modules[h / kFirstModule - 1];
    return m->loads > 0 ? m : nullptr;
}

void Register(const char *name, const std::vector<std::pair<std::string, void *>> &exports) {
    if (Module *m = ByName(name))
        m->exports = exports;
    else
        g_modules.push_back({name, exports, 0});
}

} // namespace

HMODULE WINAPI LoadLibraryA(LPCSTR fileName) {
    long error;
    if (ShouldFail("LoadLibraryA", fileName, &error)) {
        SetLastError(error);
        return nullptr;
    }
    Module *m = fileName ? ByName(fileName) : nullptr;
    if (!m) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    m->loads++;
    return HandleOf(*m);
}

FARPROC WINAPI GetProcAddress(HMODULE module, LPCSTR procName) {
    long error;
    if (ShouldFail("GetProcAddress", nullptr, &error)) {
        SetLastError(error);
        return nullptr;
    }
    Module *m = ByHandle(module);
    if (!m) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (!IS_INTRESOURCE(procName))
        for (const auto &e : m->exports)
            if (e.first == procName)
                return (FARPROC)e.second;
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
}

BOOL WINAPI FreeLibrary(HMODULE module) {
    long error;
    if (ShouldFail("FreeLibrary", nullptr, &error)) {
        SetLastError(error);
        return FALSE;
    }
    Module *m = ByHandle(module);
    if (!m) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    m->loads--;
    return TRUE;
}

DWORD WINAPI GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size) {
    long error;
    if (ShouldFail("GetModuleFileNameA", nullptr, &error)) {
        SetLastError(error);
        return 0;
    }
    if (!module)
        module = kProgram;
    std::string name;
    if (g_fileNames.count(module))
        name = g_fileNames[module];
    else if (module == kProgram)
        name = kProgramFile;
    else if (Module *m = ByHandle(module))
        name = m->name;
    else {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return 0;
    }
    if (name.size() < size) {
        memcpy(fileName, name.c_str(), name.size() + 1);
        return (DWORD)name.size();
    }
    // Too long: cut to size - 1 characters, still terminated, and return size.
    if (size > 0) {
        memcpy(fileName, name.data(), size - 1);
        fileName[size - 1] = 0;
    }
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return size;
}

HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName) {
    fakewin::detail::CountCall("GetModuleHandleA");
    if (!moduleName)
        return kProgram;
    Module *m = ByName(moduleName);
    if (!m || m->loads == 0) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    return HandleOf(*m);
}

namespace fakewin {

void AddModule(const char *name, std::vector<Export> exports) {
    std::vector<std::pair<std::string, void *>> copied;
    for (const Export &e : exports)
        copied.push_back({e.name, e.entry});
    Register(name, copied);
}

int ModuleLoadCount(const char *name) {
    Module *m = ByName(name);
    return m ? m->loads : 0;
}

void SetModuleFileName(HMODULE module, const char *path) {
    g_fileNames[module] = path;
}

namespace detail {

void CopyModule(const char *from, const char *to) {
    if (Module *m = ByName(from)) {
        std::vector<std::pair<std::string, void *>> exports = m->exports;
        Register(to, exports);
    }
}

void ResetModules() {
    g_modules.clear();
    g_fileNames.clear();
}

} // namespace detail
} // namespace fakewin
