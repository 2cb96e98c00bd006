#include <windows.h>
#include <oleauto.h>
#include "component_state.h"
#include "component_identity.h"
#include "report_lines.h"

#define TEXT_SIZE      512
#define SUBKEY_SIZE    256
#define TYPELIB_SUBKEY "\\1.0\\0\\win32"

static void DeleteTree(HKEY parent, const char *name) {
    HKEY key;
    if (RegOpenKeyExA(parent, name, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
        char child[SUBKEY_SIZE];
        DWORD length = sizeof child;
        // Always the first child: each one is gone once deleted.
        while (RegEnumKeyExA(key, 0, child, &length, NULL, NULL, NULL, NULL) == ERROR_SUCCESS) {
            DeleteTree(key, child);
            length = sizeof child;
        }
        RegCloseKey(key);
    }
    RegDeleteKeyA(parent, name);
}

// The driver is a 64-bit process and the registrations it reads are a 32-bit
// process's: their class key lies under Wow6432Node, while the ProgID is
// shared and OLE Automation writes the type library to both views.
static void ClassKeyPath(char *path, const char *tail) {
    char guid[GUID_TEXT_SIZE];
    FormatGuidString(guid, &CLSID_Component);
    wsprintfA(path, CLASSES_KEY_PATH "\\Wow6432Node\\CLSID\\%s%s", guid, tail);
}

static void TypeLibKeyPath(char *path) {
    char guid[GUID_TEXT_SIZE];
    FormatGuidString(guid, &LIBID_Component);
    wsprintfA(path, CLASSES_KEY_PATH "\\TypeLib\\%s" TYPELIB_SUBKEY, guid);
}

static bool KeyExists(const char *path) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

bool ClearComponentRegistration(void) {
    char classKey[TEXT_SIZE];
    char typeLibKey[TEXT_SIZE];
    HKEY classes;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, CLASSES_KEY_PATH, 0, KEY_ALL_ACCESS, &classes) !=
        ERROR_SUCCESS) {
        Note("cannot open HKLM\\" CLASSES_KEY_PATH);
        return false;
    }
    DeleteTree(classes, COMPONENT_PROGID);
    ClassKeyPath(classKey, "");
    DeleteTree(HKEY_LOCAL_MACHINE, classKey);
    RegCloseKey(classes);
    // Nothing registered is not an error here.
    UnRegisterTypeLib(LIBID_Component, COMPONENT_TYPELIB_MAJOR, COMPONENT_TYPELIB_MINOR,
                      COMPONENT_TYPELIB_LCID, SYS_WIN32);

    TypeLibKeyPath(typeLibKey);
    const char *left = KeyExists(CLASSES_KEY_PATH "\\" COMPONENT_PROGID) ? COMPONENT_PROGID
                       : KeyExists(classKey)                             ? classKey
                       : KeyExists(typeLibKey)                           ? typeLibKey
                                                                         : NULL;
    if (left != NULL) {
        Note("the registration is still there after clearing it: %s", left);
        return false;
    }
    return true;
}

// Reads a REG_SZ value; an empty text when it is missing or of another type.
static void ReadText(const char *keyPath, const char *valueName, char *text) {
    DWORD size = TEXT_SIZE;
    DWORD type = 0;
    text[0] = 0;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return;
    }
    if (RegQueryValueExA(key, valueName, NULL, &type, (BYTE *)text, &size) != ERROR_SUCCESS ||
        type != REG_SZ || size == 0) {
        text[0] = 0;
    } else {
        text[size < TEXT_SIZE ? size : TEXT_SIZE - 1] = 0;
    }
    RegCloseKey(key);
}

static bool ValueIs(const char *keyPath, const char *valueName, const char *expected) {
    char actual[TEXT_SIZE];
    ReadText(keyPath, valueName, actual);
    if (lstrcmpiA(actual, expected) == 0) {
        return true;
    }
    Note("HKLM\\%s [%s] is \"%s\", expected \"%s\"", keyPath, valueName ? valueName : "default",
         actual, expected);
    return false;
}

bool ComponentRegisteredAt(const char *serverPath) {
    char guid[GUID_TEXT_SIZE];
    char classKey[TEXT_SIZE];
    char serverKey[TEXT_SIZE];
    char progIdLink[TEXT_SIZE];
    char typeLibKey[TEXT_SIZE];
    char typeLibPath[MAX_PATH];

    FormatGuidString(guid, &CLSID_Component);
    ClassKeyPath(classKey, "");
    ClassKeyPath(serverKey, "\\InprocServer32");
    ClassKeyPath(progIdLink, "\\ProgID");
    TypeLibKeyPath(typeLibKey);
    // The type library lies beside the server.
    lstrcpynA(typeLibPath, serverPath, MAX_PATH);
    char *name = typeLibPath + lstrlenA(typeLibPath);
    while (name > typeLibPath && name[-1] != '\\') {
        --name;
    }
    lstrcpynA(name, COMPONENT_TYPELIB_FILE, MAX_PATH - (int)(name - typeLibPath));

    return ValueIs(CLASSES_KEY_PATH "\\" COMPONENT_PROGID, NULL, COMPONENT_DESCRIPTION) &&
           ValueIs(CLASSES_KEY_PATH "\\" COMPONENT_PROGID "\\CLSID", NULL, guid) &&
           ValueIs(classKey, NULL, COMPONENT_DESCRIPTION) && ValueIs(serverKey, NULL, serverPath) &&
           ValueIs(serverKey, "ThreadingModel", "both") &&
           ValueIs(progIdLink, NULL, COMPONENT_PROGID) && ValueIs(typeLibKey, NULL, typeLibPath);
}
