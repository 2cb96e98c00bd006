// Loadable libraries with named exports, their load counts, and module file
// names (the program's own included).
#include <windows.h>
#include <cstring>
#include <map>
#include <string>
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

// The system libraries the program loads by full path, with the entries it
// asks for: the double's own functions.
const char *const kSystemFolder = FAKE_SYSTEM_FOLDER;
std::string g_dllDirectory;
bool g_dllDirectorySet;
std::map<std::string, DWORD> g_loadFlags; // folded name -> flags of its latest LoadLibraryExA

BOOL WINAPI SetDllDirectoryStandIn(LPCSTR path) {
    g_dllDirectorySet = path != nullptr;
    g_dllDirectory = path ? path : "";
    return TRUE;
}

void RegisterSystemModules() {
    std::string folder = std::string(kSystemFolder) + "\\";
    Register((folder + "version.dll").c_str(),
             {{"GetFileVersionInfoSizeA", (void *)GetFileVersionInfoSizeA},
              {"GetFileVersionInfoA", (void *)GetFileVersionInfoA},
              {"VerQueryValueA", (void *)VerQueryValueA}});
    Register((folder + "comdlg32.dll").c_str(), {{"GetOpenFileNameA", (void *)GetOpenFileNameA},
                                                 {"GetSaveFileNameA", (void *)GetSaveFileNameA}});
    Register((folder + "oleaut32.dll").c_str(), {{"#161", (void *)LoadTypeLib},
                                                 {"#163", (void *)RegisterTypeLib},
                                                 {"#186", (void *)UnRegisterTypeLib}});
    // Always loaded in a process, as on Windows.
    Register("kernel32.dll", {{"SetDllDirectoryA", (void *)SetDllDirectoryStandIn}});
    ByName("kernel32.dll")->loads = 1;
}

HMODULE Load(const char *function, LPCSTR fileName) {
    long error;
    if (ShouldFail(function, fileName, &error)) {
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

} // namespace

HMODULE WINAPI LoadLibraryA(LPCSTR fileName) {
    return Load("LoadLibraryA", fileName);
}

HMODULE WINAPI LoadLibraryExA(LPCSTR fileName, HANDLE reserved, DWORD flags) {
    (void)reserved;
    if (fileName)
        g_loadFlags[Folded(fileName)] = flags;
    return Load("LoadLibraryExA", fileName);
}

UINT WINAPI GetSystemDirectoryA(LPSTR buffer, UINT size) {
    long error;
    if (ShouldFail("GetSystemDirectoryA", nullptr, &error)) {
        SetLastError(error);
        return 0;
    }
    UINT length = (UINT)strlen(kSystemFolder);
    if (length >= size)
        return length + 1;
    memcpy(buffer, kSystemFolder, length + 1);
    return length;
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
    // An entry by ordinal is registered as "#<ordinal>".
    std::string name = IS_INTRESOURCE(procName)
                           ? "#" + std::to_string((unsigned)(uintptr_t)procName)
                           : std::string(procName);
    for (const auto &e : m->exports)
        if (e.first == name)
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

DWORD LoadExFlags(const char *name) {
    auto found = g_loadFlags.find(Folded(name));
    return found == g_loadFlags.end() ? 0xFFFFFFFFu : found->second;
}

const char *DllDirectory() {
    return g_dllDirectorySet ? g_dllDirectory.c_str() : nullptr;
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
    g_loadFlags.clear();
    g_dllDirectory.clear();
    g_dllDirectorySet = false;
    RegisterSystemModules();
}

} // namespace detail
} // namespace fakewin
