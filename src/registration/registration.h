// Writing the component's COM registration and registering its type library.
#pragma once
#include <windows.h>

enum {
    REGISTRATION_DONE = 0,
    REGISTRATION_UNDONE = 1,
    REGISTRATION_REGISTRAR_REFUSED = 2,
    REGISTRATION_UNDO_INCOMPLETE = 3
};

// REGISTRATION_DONE; REGISTRATION_UNDONE when a registry step failed, else
// the type-library HRESULT (negative), the registration undone either way,
// or REGISTRATION_UNDO_INCOMPLETE when the undo left a part of it;
// REGISTRATION_REGISTRAR_REFUSED when all is registered but the registrar's
// DllRegisterServer did not answer S_OK.
LONG RegisterComponent(char *libraryPath);

// Flags of the reset's outcome: 0 when the registration was found and is
// gone; RESET_NOT_FOUND when no part of it was there; RESET_INCOMPLETE when
// the registrar refused, or a key or the type library is still there.
enum { RESET_NOT_FOUND = 1, RESET_INCOMPLETE = 2 };
int ResetRegistration(void);
// 1 when any of the five keys or the type library's registration is there.
int RegistrationPartsLeft(void);

// Checks, changing nothing, that the whole registration is there as a
// registration writes it; each check is a log line. firstBroken (512 bytes)
// gets the first failed check's line.
enum { VERIFY_INTACT, VERIFY_NOT_REGISTERED, VERIFY_BROKEN };
int VerifyRegistration(char *firstBroken);
