// Every library the program loads, loaded in one place: the system libraries
// by full path from the system folder, the registrar control library by its
// bare name, and the component library with its own folder searched for its
// dependencies. The shell, the install steps and registration all call down
// into this module.
#pragma once
#include <windows.h>
#include <commdlg.h>
#include <oleauto.h>
#include "registrar_library.h"

extern HMODULE g_hRegistrarLibrary;
extern RegistrarEntry g_pfnRegistrarRegister;
extern RegistrarEntry g_pfnRegistrarUnregister;

// Takes the current folder out of the search order of every later load.
// Where the system has no SetDllDirectoryA, nothing changes.
void RestrictLibrarySearch(void);
// The path of the file an open handle reaches, links followed, as \\?\C:\...
// or \\?\UNC\server\share\...; 0 with ERROR_PROC_NOT_FOUND where the
// system has no such entry (before Windows Vista).
DWORD CallGetFinalPathNameByHandleA(HANDLE file, char *path, DWORD size);
// Frees the system libraries loaded so far.
void FreeSystemLibraries(void);

enum RegistrarStatus {
    REGISTRAR_LOADED,
    REGISTRAR_MISSING,
    REGISTRAR_WITHOUT_REGISTER,
    REGISTRAR_WITHOUT_UNREGISTER
};
// Loads the registrar control library and resolves both entries; anything
// short of REGISTRAR_LOADED leaves it unloaded.
enum RegistrarStatus LoadRegistrarLibrary(void);
void FreeRegistrarLibrary(void);
HRESULT CallRegistrarRegister(void);
HRESULT CallRegistrarUnregister(void);

// The component library at a full path, its dependencies looked for beside it.
HMODULE LoadComponentLibrary(const char *path);

// System entries loaded on first use. A library or entry that cannot be
// loaded makes the call fail as the entry itself fails.
BOOL CallGetOpenFileNameA(OPENFILENAMEA *dialog);
BOOL CallGetSaveFileNameA(OPENFILENAMEA *dialog);
DWORD CallGetFileVersionInfoSizeA(const char *file, DWORD *handle);
BOOL CallGetFileVersionInfoA(const char *file, DWORD handle, DWORD size, void *block);
BOOL CallVerQueryValueA(const void *block, const char *query, void **value, UINT *length);
HRESULT CallLoadTypeLib(const OLECHAR *file, ITypeLib **typeLib);
HRESULT CallRegisterTypeLib(ITypeLib *typeLib, const OLECHAR *fullPath, const OLECHAR *helpDir);
HRESULT CallUnRegisterTypeLib(REFGUID libId, WORD major, WORD minor, LCID lcid, SYSKIND kind);
// The registered type library's file, in path (MAX_PATH bytes; empty when none).
HRESULT CallQueryPathOfRegTypeLib(REFGUID libId, WORD major, WORD minor, LCID lcid, char *path);
// Creates the class in this process and releases it, as a client would.
HRESULT CallCreateAndRelease(REFCLSID classId);
