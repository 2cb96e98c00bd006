// Finds the type information that drives the object's IDispatch.
#include "component.h"

// The type library file in this library's own folder. Loaded without
// registering it: registration belongs to the installer, not to a client.
static HRESULT LoadTypeLibBesideModule(ITypeLib **typeLib) {
    WCHAR path[MAX_PATH];
    DWORD length = GetModuleFileNameW(g_moduleInstance, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return E_FAIL;
    }
    DWORD nameStart = length;
    while (nameStart > 0 && path[nameStart - 1] != L'\\' && path[nameStart - 1] != L'/') {
        nameStart--;
    }
    const DWORD nameSize = sizeof(QUORVALIS_TYPELIB_FILE) / sizeof(WCHAR);
    if (nameStart + nameSize > MAX_PATH) {
        return E_FAIL;
    }
    CopyMemory(path + nameStart, QUORVALIS_TYPELIB_FILE, sizeof(QUORVALIS_TYPELIB_FILE));
    return LoadTypeLibEx(path, REGKIND_NONE, typeLib);
}

HRESULT LoadQuorvalisTypeInfo(ITypeInfo **typeInfo) {
    *typeInfo = NULL;
    ITypeLib *typeLib = NULL;
    HRESULT hr = LoadRegTypeLib(&LIBID_QuorvalisLib, 1, 0, LOCALE_NEUTRAL, &typeLib);
    if (FAILED(hr)) {
        hr = LoadTypeLibBesideModule(&typeLib);
    }
    if (FAILED(hr)) {
        return hr;
    }
    hr = ITypeLib_GetTypeInfoOfGuid(typeLib, &IID_IQuorvalis, typeInfo);
    ITypeLib_Release(typeLib);
    return hr;
}
