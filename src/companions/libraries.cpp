// Loading libraries safely. The program runs elevated, so a library of the
// same name dropped beside it or in the current folder must never stand in
// for a system library: those are loaded by full path from the system folder,
// and only when first needed, which also keeps start-up short.
#include <windows.h>
#include "libraries.h"

// OLE Automation's entries by ordinal, as the system exports them.
#define ORDINAL_LOAD_TYPE_LIB       161
#define ORDINAL_REGISTER_TYPE_LIB   163
#define ORDINAL_UNREGISTER_TYPE_LIB 186
#define ORDINAL_QUERY_TYPE_LIB_PATH 164
#define ORDINAL_SYS_FREE_STRING     6

enum SystemLibrary {
    LIBRARY_VERSION,
    LIBRARY_COMDLG32,
    LIBRARY_OLEAUT32,
    LIBRARY_OLE32,
    SYSTEM_LIBRARY_COUNT
};
static const char *const SYSTEM_LIBRARY_FILES[SYSTEM_LIBRARY_COUNT] = {
    "version.dll", "comdlg32.dll", "oleaut32.dll", "ole32.dll"};
static HMODULE g_systemLibraries[SYSTEM_LIBRARY_COUNT];

HMODULE g_hRegistrarLibrary;
RegistrarEntry g_pfnRegistrarRegister;
RegistrarEntry g_pfnRegistrarUnregister;

typedef BOOL(WINAPI *SetDllDirectoryEntry)(LPCSTR);
typedef DWORD(WINAPI *FinalPathEntry)(HANDLE, LPSTR, DWORD, DWORD);
typedef BOOL(WINAPI *FileDialogEntry)(OPENFILENAMEA *);
typedef DWORD(WINAPI *VersionSizeEntry)(LPCSTR, LPDWORD);
typedef BOOL(WINAPI *VersionInfoEntry)(LPCSTR, DWORD, DWORD, LPVOID);
typedef BOOL(WINAPI *VersionValueEntry)(LPCVOID, LPCSTR, LPVOID *, PUINT);
typedef HRESULT(WINAPI *LoadTypeLibEntry)(LPCOLESTR, ITypeLib **);
typedef HRESULT(WINAPI *RegisterTypeLibEntry)(ITypeLib *, LPCOLESTR, LPCOLESTR);
typedef HRESULT(WINAPI *UnRegisterTypeLibEntry)(REFGUID, WORD, WORD, LCID, SYSKIND);
typedef HRESULT(WINAPI *QueryTypeLibPathEntry)(REFGUID, WORD, WORD, LCID, BSTR *);
typedef void(WINAPI *FreeStringEntry)(BSTR);
typedef HRESULT(WINAPI *InitializeEntry)(LPVOID, DWORD);
typedef void(WINAPI *UninitializeEntry)(void);
typedef HRESULT(WINAPI *CreateInstanceEntry)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID *);

// kernel32 is always loaded; its entries newer than Windows XP are looked up
// there, so that the program still starts where they are missing.
static FARPROC KernelEntry(const char *name) {
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    return kernel != NULL ? GetProcAddress(kernel, name) : NULL;
}

// An empty folder would do on Windows, but Wine then still searches the
// current folder: the program's own folder, searched first anyway, stands in.
void RestrictLibrarySearch(void) {
    char folder[MAX_PATH];
    SetDllDirectoryEntry setDllDirectory =
        (SetDllDirectoryEntry)(void *)KernelEntry("SetDllDirectoryA");
    DWORD length = GetModuleFileNameA(NULL, folder, MAX_PATH);
    length = length < MAX_PATH ? length : 0; // a cut path names no folder
    while (length > 0 && folder[length - 1] != '\\')
        length--;
    folder[length] = '\0';
    if (setDllDirectory != NULL)
        setDllDirectory(folder);
}

DWORD CallGetFinalPathNameByHandleA(HANDLE file, char *path, DWORD size) {
    FinalPathEntry entry = (FinalPathEntry)(void *)KernelEntry("GetFinalPathNameByHandleA");
    if (entry == NULL) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return 0;
    }
    return entry(file, path, size, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
}

// The libraries a system library imports are looked for in the system folder
// too, not beside the program.
static HMODULE LoadSystemLibrary(const char *file) {
    char path[MAX_PATH];
    UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length + 1 + (UINT)lstrlenA(file) >= MAX_PATH)
        return NULL;
    if (path[length - 1] != '\\')
        lstrcatA(path, "\\");
    lstrcatA(path, file);
    return LoadLibraryExA(path, NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
}

static FARPROC SystemEntry(enum SystemLibrary library, const char *name) {
    if (g_systemLibraries[library] == NULL)
        g_systemLibraries[library] = LoadSystemLibrary(SYSTEM_LIBRARY_FILES[library]);
    if (g_systemLibraries[library] == NULL)
        return NULL;
    return GetProcAddress(g_systemLibraries[library], name);
}

void FreeSystemLibraries(void) {
    for (int library = 0; library < SYSTEM_LIBRARY_COUNT; library++) {
        if (g_systemLibraries[library] != NULL)
            FreeLibrary(g_systemLibraries[library]);
        g_systemLibraries[library] = NULL;
    }
}

// What an OLE entry that is not there returns: the loader's own error.
static HRESULT MissingEntryResult(void) {
    DWORD error = GetLastError();
    return error != 0 ? HRESULT_FROM_WIN32(error) : E_FAIL;
}

BOOL CallGetOpenFileNameA(OPENFILENAMEA *dialog) {
    FileDialogEntry entry =
        (FileDialogEntry)(void *)SystemEntry(LIBRARY_COMDLG32, "GetOpenFileNameA");
    return entry != NULL ? entry(dialog) : FALSE;
}

BOOL CallGetSaveFileNameA(OPENFILENAMEA *dialog) {
    FileDialogEntry entry =
        (FileDialogEntry)(void *)SystemEntry(LIBRARY_COMDLG32, "GetSaveFileNameA");
    return entry != NULL ? entry(dialog) : FALSE;
}

DWORD CallGetFileVersionInfoSizeA(const char *file, DWORD *handle) {
    VersionSizeEntry entry =
        (VersionSizeEntry)(void *)SystemEntry(LIBRARY_VERSION, "GetFileVersionInfoSizeA");
    return entry != NULL ? entry(file, handle) : 0;
}

BOOL CallGetFileVersionInfoA(const char *file, DWORD handle, DWORD size, void *block) {
    VersionInfoEntry entry =
        (VersionInfoEntry)(void *)SystemEntry(LIBRARY_VERSION, "GetFileVersionInfoA");
    return entry != NULL ? entry(file, handle, size, block) : FALSE;
}

BOOL CallVerQueryValueA(const void *block, const char *query, void **value, UINT *length) {
    VersionValueEntry entry =
        (VersionValueEntry)(void *)SystemEntry(LIBRARY_VERSION, "VerQueryValueA");
    return entry != NULL ? entry(block, query, value, length) : FALSE;
}

HRESULT CallLoadTypeLib(const OLECHAR *file, ITypeLib **typeLib) {
    LoadTypeLibEntry entry = (LoadTypeLibEntry)(void *)SystemEntry(
        LIBRARY_OLEAUT32, MAKEINTRESOURCEA(ORDINAL_LOAD_TYPE_LIB));
    return entry != NULL ? entry(file, typeLib) : MissingEntryResult();
}

HRESULT CallRegisterTypeLib(ITypeLib *typeLib, const OLECHAR *fullPath, const OLECHAR *helpDir) {
    RegisterTypeLibEntry entry = (RegisterTypeLibEntry)(void *)SystemEntry(
        LIBRARY_OLEAUT32, MAKEINTRESOURCEA(ORDINAL_REGISTER_TYPE_LIB));
    return entry != NULL ? entry(typeLib, fullPath, helpDir) : MissingEntryResult();
}

HRESULT CallUnRegisterTypeLib(REFGUID libId, WORD major, WORD minor, LCID lcid, SYSKIND kind) {
    UnRegisterTypeLibEntry entry = (UnRegisterTypeLibEntry)(void *)SystemEntry(
        LIBRARY_OLEAUT32, MAKEINTRESOURCEA(ORDINAL_UNREGISTER_TYPE_LIB));
    return entry != NULL ? entry(libId, major, minor, lcid, kind) : MissingEntryResult();
}

HRESULT CallQueryPathOfRegTypeLib(REFGUID libId, WORD major, WORD minor, LCID lcid, char *path) {
    QueryTypeLibPathEntry query = (QueryTypeLibPathEntry)(void *)SystemEntry(
        LIBRARY_OLEAUT32, MAKEINTRESOURCEA(ORDINAL_QUERY_TYPE_LIB_PATH));
    FreeStringEntry freeString = (FreeStringEntry)(void *)SystemEntry(
        LIBRARY_OLEAUT32, MAKEINTRESOURCEA(ORDINAL_SYS_FREE_STRING));
    BSTR found = NULL;
    path[0] = '\0';
    if (query == NULL || freeString == NULL)
        return MissingEntryResult();
    HRESULT result = query(libId, major, minor, lcid, &found);
    if (result == S_OK &&
        WideCharToMultiByte(CP_ACP, 0, found, -1, path, MAX_PATH, NULL, NULL) == 0)
        path[0] = '\0';
    freeString(found);
    return result;
}

// IUnknown's interface id, so that no import library is needed for it.
static const IID UNKNOWN_INTERFACE = {
    0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// In the multithreaded apartment: a single-threaded one makes a hidden
// window, and under Wine that loads the display driver, the longest part of
// an unattended run. The component is registered for both models, so it
// still loads in this thread, as a client's would.
HRESULT CallCreateAndRelease(REFCLSID classId) {
    InitializeEntry initialize =
        (InitializeEntry)(void *)SystemEntry(LIBRARY_OLE32, "CoInitializeEx");
    UninitializeEntry uninitialize =
        (UninitializeEntry)(void *)SystemEntry(LIBRARY_OLE32, "CoUninitialize");
    CreateInstanceEntry create =
        (CreateInstanceEntry)(void *)SystemEntry(LIBRARY_OLE32, "CoCreateInstance");
    IUnknown *object = NULL;
    if (initialize == NULL || uninitialize == NULL || create == NULL)
        return MissingEntryResult();
    HRESULT initialized = initialize(NULL, COINIT_MULTITHREADED);
    HRESULT result =
        create(classId, NULL, CLSCTX_INPROC_SERVER, UNKNOWN_INTERFACE, (void **)&object);
    if (result == S_OK)
        object->Release();
    if (SUCCEEDED(initialized))
        uninitialize();
    return result;
}

// By its bare name: the program's folder, the system folders and PATH find it.
enum RegistrarStatus LoadRegistrarLibrary(void) {
    g_hRegistrarLibrary = LoadLibraryA(REGISTRAR_LIBRARY_FILE);
    if (g_hRegistrarLibrary == NULL)
        return REGISTRAR_MISSING;
    g_pfnRegistrarRegister =
        (RegistrarEntry)(void *)GetProcAddress(g_hRegistrarLibrary, REGISTRAR_REGISTER_EXPORT);
    g_pfnRegistrarUnregister =
        (RegistrarEntry)(void *)GetProcAddress(g_hRegistrarLibrary, REGISTRAR_UNREGISTER_EXPORT);
    enum RegistrarStatus status = g_pfnRegistrarRegister == NULL     ? REGISTRAR_WITHOUT_REGISTER
                                  : g_pfnRegistrarUnregister == NULL ? REGISTRAR_WITHOUT_UNREGISTER
                                                                     : REGISTRAR_LOADED;
    if (status != REGISTRAR_LOADED)
        FreeRegistrarLibrary();
    return status;
}

void FreeRegistrarLibrary(void) {
    if (g_hRegistrarLibrary != NULL)
        FreeLibrary(g_hRegistrarLibrary);
    g_hRegistrarLibrary = NULL;
    g_pfnRegistrarRegister = NULL;
    g_pfnRegistrarUnregister = NULL;
}

HRESULT CallRegistrarRegister(void) {
    return g_pfnRegistrarRegister != NULL ? g_pfnRegistrarRegister() : E_FAIL;
}

HRESULT CallRegistrarUnregister(void) {
    return g_pfnRegistrarUnregister != NULL ? g_pfnRegistrarUnregister() : E_FAIL;
}

// LoadLibraryA would search the program's and the current folder for the
// component's dependencies, but never the component's own folder.
HMODULE LoadComponentLibrary(const char *path) {
    return LoadLibraryExA(path, NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
}
