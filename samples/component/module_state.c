// Module lifetime of the component library: its instance handle and the
// object and lock counts that tell COM when the library may be unloaded.
#include "component.h"

HINSTANCE g_moduleInstance;
static LONG g_objectCount;
static LONG g_lockCount;

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) {
        g_moduleInstance = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

void ModuleObjectCreated(void) {
    InterlockedIncrement(&g_objectCount);
}

void ModuleObjectDestroyed(void) {
    InterlockedDecrement(&g_objectCount);
}

void ModuleLock(BOOL lock) {
    if (lock) {
        InterlockedIncrement(&g_lockCount);
    } else {
        InterlockedDecrement(&g_lockCount);
    }
}

HRESULT WINAPI DllCanUnloadNow(void) {
    return g_objectCount == 0 && g_lockCount == 0 ? S_OK : S_FALSE;
}
