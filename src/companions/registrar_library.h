// The registrar control library that lies beside the program: its file name
// and the two standard self-registration entries the program calls.
#pragma once
#include <windows.h>

#define REGISTRAR_LIBRARY_FILE      "REGQUORVALIS2.OCX"
#define REGISTRAR_REGISTER_EXPORT   "DllRegisterServer"
#define REGISTRAR_UNREGISTER_EXPORT "DllUnregisterServer"

typedef HRESULT(WINAPI *RegistrarEntry)(void);
