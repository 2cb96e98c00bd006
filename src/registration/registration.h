// Writing the component's COM registration and registering its type library.
#pragma once
#include <windows.h>

// 0 on success, 1 when a registry step failed, else the type-library HRESULT.
LONG RegisterComponent(char *libraryPath);

// 0 when the component's registration was found and removed, else 1.
int ResetRegistration(void);
