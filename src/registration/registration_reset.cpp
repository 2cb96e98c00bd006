// Removing the component's registration: the registrar's own record, the
// five keys deepest first, and the type library; then reading back that all
// of it is gone.
#include <windows.h>
#include "registration.h"
#include "component_layout.h"
#include "../companions/component_identity.h"
#include "../operator/activity_log.h"
#include "../companions/libraries.h"

#define MESSAGE_SIZE 512

static const char DELETE_TWO_FORMAT[] = "DELETANDO \\HKEY_LOCAL_MACHINE\\Software\\Classes\\%s\\%s";
static const char DELETE_THREE_FORMAT[] =
    "DELETANDO \\HKEY_LOCAL_MACHINE\\Software\\Classes\\%s\\%s\\%s";

// A failed open names the key under Software\Classes.
static LONG OpenKey(HKEY parent, const char *name, const char *shownPath, HKEY *key) {
    char path[MESSAGE_SIZE];
    LONG status = RegOpenKeyExA(parent, name, 0, KEY_ALL_ACCESS, key);
    wsprintfA(path, "HKLM\\%s\\%.300s", CLASSES_KEY_PATH, shownPath);
    if (status != ERROR_SUCCESS)
        LogCause("RegOpenKeyExA", path, (DWORD)status, 0);
    return status;
}

// Logs the line, deletes the key and, when that fails, its cause.
static void DeleteKey(HKEY parent, const char *name, const char *line, const char *shownPath) {
    char path[MESSAGE_SIZE];
    LogLine(line);
    LONG status = RegDeleteKeyA(parent, name);
    wsprintfA(path, "HKLM\\%s\\%.300s", CLASSES_KEY_PATH, shownPath);
    if (status != ERROR_SUCCESS)
        LogCause("RegDeleteKeyA", path, (DWORD)status, 0);
}

// Returns 1 when the class key was there.
static int DeleteClassKeys(HKEY classesRoot, const char *guidText) {
    char message[MESSAGE_SIZE];
    char path[MESSAGE_SIZE];
    HKEY classRoot;
    HKEY classKey;

    wsprintfA(path, "CLSID\\%s", guidText);
    if (OpenKey(classesRoot, "CLSID", "CLSID", &classRoot) != ERROR_SUCCESS)
        return 0;
    int found = OpenKey(classRoot, guidText, path, &classKey) == ERROR_SUCCESS;
    if (found) {
        wsprintfA(message, DELETE_THREE_FORMAT, "CLSID", guidText, "InprocServer32");
        wsprintfA(path, "CLSID\\%s\\InprocServer32", guidText);
        DeleteKey(classKey, "InprocServer32", message, path);
        wsprintfA(message, DELETE_THREE_FORMAT, "CLSID", guidText, "ProgID");
        wsprintfA(path, "CLSID\\%s\\ProgID", guidText);
        DeleteKey(classKey, "ProgID", message, path);
        RegCloseKey(classKey);
        wsprintfA(message, DELETE_TWO_FORMAT, "CLSID", guidText);
        wsprintfA(path, "CLSID\\%s", guidText);
        DeleteKey(classRoot, guidText, message, path);
    }
    RegCloseKey(classRoot);
    return found;
}

// Returns 1 when the ProgID key was there.
static int DeleteProgIdKeys(HKEY classesRoot) {
    char message[MESSAGE_SIZE];
    HKEY progIdKey;

    if (OpenKey(classesRoot, COMPONENT_PROGID, COMPONENT_PROGID, &progIdKey) != ERROR_SUCCESS)
        return 0;
    wsprintfA(message, DELETE_TWO_FORMAT, COMPONENT_PROGID, "CLSID");
    DeleteKey(progIdKey, "CLSID", message, COMPONENT_PROGID "\\CLSID");
    RegCloseKey(progIdKey);
    DeleteKey(classesRoot, COMPONENT_PROGID, "DELETANDO " COMPONENT_PROGID, COMPONENT_PROGID);
    return 1;
}

// Deletes whichever of the five keys it finds, deepest first: a reset or a
// registration that stopped halfway leaves some without the others. Returns
// 1 when any of them was there.
static int DeleteLayout(HKEY classesRoot, const char *guidText) {
    int found = DeleteProgIdKeys(classesRoot);
    return DeleteClassKeys(classesRoot, guidText) | found;
}

static int IsKeyThere(const char *path) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return 0;
    RegCloseKey(key);
    return 1;
}

// Reads back that none of the five keys nor the type library's registration
// is left and, when asked to, names in the log each one that is; what failed
// to go had its cause logged as it failed.
static int ReadBack(int named) {
    char guidText[GUID_TEXT_SIZE];
    char paths[COMPONENT_KEY_COUNT + 1][COMPONENT_KEY_PATH_SIZE];
    char line[MESSAGE_SIZE];
    int left = 0;

    FormatGuidString(guidText, &CLSID_Component);
    FormatComponentKeys(paths, guidText);
    FormatTypeLibraryKey(paths[COMPONENT_KEY_COUNT]);
    for (int i = 0; i <= COMPONENT_KEY_COUNT; i++) {
        if (IsKeyThere(paths[i])) {
            wsprintfA(line, "NÃO REMOVIDO \\HKEY_LOCAL_MACHINE\\%s", paths[i]);
            if (named)
                LogLine(line);
            left = RESET_INCOMPLETE;
        }
    }
    return left;
}

int RegistrationPartsLeft(void) {
    return ReadBack(0) != 0;
}

int ResetRegistration(void) {
    char guidText[GUID_TEXT_SIZE];
    char typeLibraryKey[COMPONENT_KEY_PATH_SIZE];
    HKEY classesRoot;
    int result = RESET_NOT_FOUND;

    HRESULT unregistered = CallRegistrarUnregister();
    if (unregistered != S_OK) {
        LogCause("DllUnregisterServer", REGISTRAR_LIBRARY_FILE, (DWORD)unregistered, 1);
        result |= RESET_INCOMPLETE;
    }
    LogLine("ZERANDO REGISTRO...");
    FormatGuidString(guidText, &CLSID_Component);
    LONG status = RegOpenKeyExA(HKEY_LOCAL_MACHINE, CLASSES_KEY_PATH, 0, KEY_WRITE, &classesRoot);
    if (status == ERROR_SUCCESS) {
        int found = DeleteLayout(classesRoot, guidText);
        RegCloseKey(classesRoot);
        FormatTypeLibraryKey(typeLibraryKey);
        if (found || IsKeyThere(typeLibraryKey)) {
            result &= ~RESET_NOT_FOUND;
            LogLine("DELETANDO type library");
        }
        HRESULT typeLibrary =
            CallUnRegisterTypeLib(LIBID_Component, COMPONENT_TYPELIB_MAJOR, COMPONENT_TYPELIB_MINOR,
                                  COMPONENT_TYPELIB_LCID, SYS_WIN32);
        if (typeLibrary != S_OK)
            LogCause("UnRegisterTypeLib", COMPONENT_TYPELIB_FILE, (DWORD)typeLibrary, 1);
    } else {
        LogCause("RegOpenKeyExA", "HKLM\\" CLASSES_KEY_PATH, (DWORD)status, 0);
    }
    result |= ReadBack(1);
    LogLine("ZERAMENTO COMPLETADO!");
    return result;
}
