// A self-registering library for regsvr32, the baseline of the program's
// register request: DllRegisterServer writes the component's six registry
// values, naming this library as the server, and registers the type library
// that lies beside it, with nothing else around it.
#include <windows.h>
#include <oleauto.h>
#include "component_identity.h"

#define KEY_PATH_SIZE 256

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);
extern "C" HRESULT WINAPI DllRegisterServer(void);

static HINSTANCE g_module;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
    }
    return TRUE;
}

static LONG SetText(const char *keyPath, const char *valueName, const char *text) {
    HKEY key;
    LONG status = RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, NULL, REG_OPTION_NON_VOLATILE,
                                  KEY_WRITE, NULL, &key, NULL);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    status =
        RegSetValueExA(key, valueName, 0, REG_SZ, (const BYTE *)text, (DWORD)lstrlenA(text) + 1);
    RegCloseKey(key);
    return status;
}

static HRESULT RegisterTypeLibraryBeside(const char *serverPath) {
    char path[MAX_PATH];
    WCHAR widePath[MAX_PATH];
    lstrcpynA(path, serverPath, MAX_PATH);
    char *name = path + lstrlenA(path);
    while (name > path && name[-1] != '\\') {
        --name;
    }
    if ((name - path) + lstrlenA(COMPONENT_TYPELIB_FILE) >= MAX_PATH) {
        return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
    }
    lstrcpyA(name, COMPONENT_TYPELIB_FILE);
    if (MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, MAX_PATH) == 0) {
        return HRESULT_FROM_WIN32(GetLastError());
    }
    ITypeLib *typeLib = NULL;
    HRESULT result = LoadTypeLib(widePath, &typeLib);
    if (result == S_OK) {
        result = RegisterTypeLib(typeLib, widePath, NULL);
        typeLib->Release();
    }
    return result;
}

extern "C" HRESULT WINAPI DllRegisterServer(void) {
    char guid[GUID_TEXT_SIZE];
    char serverPath[MAX_PATH];
    char classKey[KEY_PATH_SIZE];
    char serverKey[KEY_PATH_SIZE];
    char progIdLink[KEY_PATH_SIZE];

    DWORD length = GetModuleFileNameA(g_module, serverPath, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return E_FAIL;
    }
    FormatGuidString(guid, &CLSID_Component);
    wsprintfA(classKey, CLASSES_KEY_PATH "\\CLSID\\%s", guid);
    wsprintfA(serverKey, "%s\\InprocServer32", classKey);
    wsprintfA(progIdLink, "%s\\ProgID", classKey);

    struct Value {
        const char *keyPath;
        const char *name;
        const char *text;
    };
    const Value values[] = {
        {CLASSES_KEY_PATH "\\" COMPONENT_PROGID, NULL, COMPONENT_DESCRIPTION},
        {CLASSES_KEY_PATH "\\" COMPONENT_PROGID "\\CLSID", NULL, guid},
        {classKey, NULL, COMPONENT_DESCRIPTION},
        {serverKey, NULL, serverPath},
        {serverKey, "ThreadingModel", "both"},
        {progIdLink, NULL, COMPONENT_PROGID},
    };
    for (const Value &value : values) {
        LONG status = SetText(value.keyPath, value.name, value.text);
        if (status != ERROR_SUCCESS) {
            return HRESULT_FROM_WIN32(status);
        }
    }
    return RegisterTypeLibraryBeside(serverPath);
}
