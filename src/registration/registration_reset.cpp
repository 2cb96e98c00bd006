// Removing the component's registration: the registrar's own record, the
// five keys deepest first, and the type library.
#include <windows.h>
#include "registration.h"
#include "../companions/component_identity.h"
#include "../operator/activity_log.h"
#include "../companions/libraries.h"

#define MESSAGE_SIZE 512

static const char DELETE_TWO_FORMAT[] = "DELETANDO \\HKEY_LOCAL_MACHINE\\Software\\Classes\\%s\\%s";
static const char DELETE_THREE_FORMAT[] =
    "DELETANDO \\HKEY_LOCAL_MACHINE\\Software\\Classes\\%s\\%s\\%s";

static void DeleteClassKeys(HKEY classesRoot, const char *guidText) {
    char message[MESSAGE_SIZE];
    HKEY classRoot;
    HKEY classKey;

    if (RegOpenKeyExA(classesRoot, "CLSID", 0, KEY_ALL_ACCESS, &classRoot) != ERROR_SUCCESS)
        return;
    if (RegOpenKeyExA(classRoot, guidText, 0, KEY_ALL_ACCESS, &classKey) == ERROR_SUCCESS) {
        wsprintfA(message, DELETE_THREE_FORMAT, "CLSID", guidText, "InprocServer32");
        LogLine(message);
        RegDeleteKeyA(classKey, "InprocServer32");
        wsprintfA(message, DELETE_THREE_FORMAT, "CLSID", guidText, "ProgID");
        LogLine(message);
        RegDeleteKeyA(classKey, "ProgID");
        RegCloseKey(classKey);
        wsprintfA(message, DELETE_TWO_FORMAT, "CLSID", guidText);
        LogLine(message);
        RegDeleteKeyA(classRoot, guidText);
    }
    RegCloseKey(classRoot);
}

// Returns 0 when the ProgID key was found, so the deletions were carried out.
static int DeleteLayout(HKEY classesRoot, const char *guidText) {
    char message[MESSAGE_SIZE];
    HKEY progIdKey;

    if (RegOpenKeyExA(classesRoot, COMPONENT_PROGID, 0, KEY_ALL_ACCESS, &progIdKey) !=
        ERROR_SUCCESS)
        return 1;
    wsprintfA(message, DELETE_TWO_FORMAT, COMPONENT_PROGID, "CLSID");
    LogLine(message);
    RegDeleteKeyA(progIdKey, "CLSID");
    RegCloseKey(progIdKey);
    wsprintfA(message, "DELETANDO %s", COMPONENT_PROGID);
    LogLine(message);
    RegDeleteKeyA(classesRoot, COMPONENT_PROGID);
    DeleteClassKeys(classesRoot, guidText);
    return 0;
}

int ResetRegistration(void) {
    char guidText[GUID_TEXT_SIZE];
    HKEY classesRoot;
    int result = 1;

    CallRegistrarUnregister();
    LogLine("ZERANDO REGISTRO...");
    FormatGuidString(guidText, &CLSID_Component);
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, CLASSES_KEY_PATH, 0, KEY_WRITE, &classesRoot) ==
        ERROR_SUCCESS) {
        result = DeleteLayout(classesRoot, guidText);
        RegCloseKey(classesRoot);
        if (result == 0)
            LogLine("DELETANDO type library");
        CallUnRegisterTypeLib(LIBID_Component, COMPONENT_TYPELIB_MAJOR, COMPONENT_TYPELIB_MINOR,
                              COMPONENT_TYPELIB_LCID, SYS_WIN32);
    }
    LogLine("ZERAMENTO COMPLETADO!");
    return result;
}
