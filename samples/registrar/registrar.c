// Sample registrar control library. It stands in for the real one so the
// program can be run for real: each entry leaves a trace in a registry key of
// its own that tests can read, and registration can be made to fail on demand.
//
// The same source builds the two broken variants: REGISTRAR_OMIT_REGISTER or
// REGISTRAR_OMIT_UNREGISTER leaves that entry out, and each variant's .def
// exports only the entry that is left.
#include <windows.h>

#define SAMPLES_KEY "Software\\QuorvalisSamples"
// Present with Registered = "1" while this library counts as registered.
#define RECORD_KEY   SAMPLES_KEY "\\Registrar"
#define RECORD_VALUE "Registered"
// Owned by tests, never deleted here: FailRegister = 1 makes registration fail
// with E_FAIL, 2 answer S_FALSE.
#define CONTROL_KEY         SAMPLES_KEY "\\Control"
#define FAIL_REGISTER_VALUE "FailRegister"

HRESULT WINAPI DllRegisterServer(void);
HRESULT WINAPI DllUnregisterServer(void);

#ifndef REGISTRAR_OMIT_REGISTER

// 1 or 2 when the test switch asks for a failing registration: the value may be
// a DWORD or a text, whichever is easier to write from a script.
static BOOL RegisterFailureRequested(void) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, CONTROL_KEY, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return FALSE;
    }
    BYTE data[16];
    DWORD type = 0;
    DWORD size = sizeof(data);
    BOOL requested = FALSE;
    if (RegQueryValueExA(key, FAIL_REGISTER_VALUE, NULL, &type, data, &size) == ERROR_SUCCESS) {
        if (type == REG_DWORD && size == sizeof(DWORD)) {
            DWORD flag;
            CopyMemory(&flag, data, sizeof(flag));
            requested = flag == 1 || flag == 2 ? (BOOL)flag : FALSE;
        } else if (type == REG_SZ && size >= 2 && data[1] == '\0') {
            requested = data[0] == '1' || data[0] == '2' ? data[0] - '0' : FALSE;
        }
    }
    RegCloseKey(key);
    return requested;
}

HRESULT WINAPI DllRegisterServer(void) {
    switch (RegisterFailureRequested()) {
    case 1:
        return E_FAIL;
    case 2:
        return S_FALSE;
    }
    HKEY key;
    LONG rc = RegCreateKeyExA(HKEY_LOCAL_MACHINE, RECORD_KEY, 0, NULL, REG_OPTION_NON_VOLATILE,
                              KEY_SET_VALUE, NULL, &key, NULL);
    if (rc != ERROR_SUCCESS) {
        return HRESULT_FROM_WIN32(rc);
    }
    static const char registered[] = "1";
    rc = RegSetValueExA(key, RECORD_VALUE, 0, REG_SZ, (const BYTE *)registered, sizeof(registered));
    RegCloseKey(key);
    return rc == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(rc);
}

#endif

#ifndef REGISTRAR_OMIT_UNREGISTER

// Removing a registration that is not there is a success: the caller only
// wants it gone.
HRESULT WINAPI DllUnregisterServer(void) {
    LONG rc = RegDeleteKeyA(HKEY_LOCAL_MACHINE, RECORD_KEY);
    if (rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND) {
        return S_OK;
    }
    return HRESULT_FROM_WIN32(rc);
}

#endif
