#include <windows.h>
#include <oleauto.h>
#include "type_library.h"
#include "check.h"
#include "program_under_test.h"
#include "registry_probe.h"

#define TYPELIB_KEY   "Software\\Classes\\TypeLib\\" LIBID_TEXT
#define WIN32_KEY     TYPELIB_KEY "\\1.0\\0\\win32"
#define INTERFACE_KEY "Software\\Classes\\Interface\\" IID_TEXT

// Under WoW64, OLE Automation registers a type library and its interfaces in
// both registry views and removes them from both (measured under Wine 8).

static const GUID LIBID_Component = {
    0xC84A1F39, 0x2E6D, 0x4B07, {0x9F, 0x51, 0x0A, 0x7E, 0x3D, 0x62, 0xB8, 0xC4}};

bool SeedTypeLibrary(const char *path) {
    WCHAR widePath[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, MAX_PATH);
    ITypeLib *typeLib = NULL;
    HRESULT result = LoadTypeLib(widePath, &typeLib);
    if (FAILED(result)) {
        Note("LoadTypeLib(%s) failed: 0x%08lX", path, (unsigned long)result);
        return false;
    }
    result = RegisterTypeLib(typeLib, widePath, NULL);
    typeLib->Release();
    if (FAILED(result)) {
        Note("RegisterTypeLib(%s) failed: 0x%08lX", path, (unsigned long)result);
        return false;
    }
    return true;
}

void CheckTypeLibraryRegistered(const char *path) {
    RegistryString value;
    if (!CheckTrue(ReadRegistryString(WIN32_KEY, NULL, &value),
                   "type library registered (HKLM\\" WIN32_KEY ")")) {
        return;
    }
    CheckText("type library registered from", path, value.text);
    CheckTrue(RegistryKeyExists(INTERFACE_KEY),
              "its interface registered (HKLM\\" INTERFACE_KEY ")");
    CheckTrue(RegistryKeyExistsInView(NATIVE_VIEW, INTERFACE_KEY),
              "its interface registered in the 64-bit view too");
}

void CheckTypeLibraryAbsent(void) {
    CheckTrue(!RegistryKeyExists(TYPELIB_KEY),
              "type library not registered (HKLM\\" TYPELIB_KEY " absent)");
    CheckTrue(!RegistryKeyExists(INTERFACE_KEY),
              "its interface not registered (HKLM\\" INTERFACE_KEY " absent)");
    CheckTrue(!RegistryKeyExistsInView(NATIVE_VIEW, TYPELIB_KEY),
              "type library not registered in the 64-bit view either");
    CheckTrue(!RegistryKeyExistsInView(NATIVE_VIEW, INTERFACE_KEY),
              "its interface not registered in the 64-bit view either");
}

bool ClearTypeLibrary(void) {
    // Fails harmlessly when nothing is registered.
    UnRegisterTypeLib(LIBID_Component, 1, 0, 0, SYS_WIN32);
    bool cleared = DeleteRegistryTree(TYPELIB_KEY) && DeleteRegistryTree(INTERFACE_KEY) &&
                   !RegistryKeyExists(TYPELIB_KEY) && !RegistryKeyExists(INTERFACE_KEY);
    return DeleteRegistryTreeInView(NATIVE_VIEW, TYPELIB_KEY) &&
           DeleteRegistryTreeInView(NATIVE_VIEW, INTERFACE_KEY) &&
           !RegistryKeyExistsInView(NATIVE_VIEW, TYPELIB_KEY) &&
           !RegistryKeyExistsInView(NATIVE_VIEW, INTERFACE_KEY) && cleared;
}
