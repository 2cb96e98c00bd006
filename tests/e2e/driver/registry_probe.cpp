#include <windows.h>
#include <string.h>
#include "registry_probe.h"

#define KEY_NAME_MAX 256

bool RegistryKeyExistsInView(REGSAM view, const char *path) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ | view, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

// The wide read tells what the registry holds: a text written without its
// terminator is one character short there, whatever the ANSI read makes of it.
bool ReadRegistryStringInView(REGSAM view, const char *path, const char *name,
                              RegistryString *value) {
    HKEY key;
    memset(value, 0, sizeof *value);
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ | view, &key) != ERROR_SUCCESS) {
        return false;
    }
    DWORD size = sizeof value->text - 1;
    LONG status = RegQueryValueExA(key, name, NULL, &value->type, (BYTE *)value->text, &size);
    if (status == ERROR_SUCCESS) {
        value->found = true;
        value->ansiBytes = size;
        WCHAR wideName[KEY_NAME_MAX];
        WCHAR *wideNameArg = NULL;
        if (name != NULL) {
            MultiByteToWideChar(CP_ACP, 0, name, -1, wideName, KEY_NAME_MAX);
            wideNameArg = wideName;
        }
        DWORD wideSize = 0;
        if (RegQueryValueExW(key, wideNameArg, NULL, NULL, NULL, &wideSize) == ERROR_SUCCESS) {
            value->wideBytes = wideSize;
        }
    }
    RegCloseKey(key);
    return value->found;
}

bool ReadRegistryDword(const char *path, const char *name, DWORD *value) {
    HKEY key;
    *value = 0;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    DWORD type = 0;
    DWORD size = sizeof *value;
    LONG status = RegQueryValueExA(key, name, NULL, &type, (BYTE *)value, &size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS && type == REG_DWORD && size == sizeof *value;
}

bool CountRegistryEntriesInView(REGSAM view, const char *path, DWORD *subkeys, DWORD *values) {
    HKEY key;
    *subkeys = 0;
    *values = 0;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ | view, &key) != ERROR_SUCCESS) {
        return false;
    }
    LONG status = RegQueryInfoKeyA(key, NULL, NULL, NULL, subkeys, NULL, NULL, values, NULL, NULL,
                                   NULL, NULL);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

bool WriteRegistryStringInView(REGSAM view, const char *path, const char *name, const char *text) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, NULL, 0, KEY_WRITE | view, NULL, &key, NULL) !=
        ERROR_SUCCESS) {
        return false;
    }
    LONG status =
        RegSetValueExA(key, name, 0, REG_SZ, (const BYTE *)text, (DWORD)lstrlenA(text) + 1);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

// A key with subkeys cannot be deleted: empty it first, deepest keys first.
static bool DeleteSubtree(REGSAM view, HKEY parent, const char *name) {
    HKEY key;
    LONG status = RegOpenKeyExA(parent, name, 0, KEY_ALL_ACCESS | view, &key);
    if (status == ERROR_FILE_NOT_FOUND) {
        return true;
    }
    if (status != ERROR_SUCCESS) {
        return false;
    }
    char child[KEY_NAME_MAX];
    for (;;) {
        DWORD length = sizeof child;
        if (RegEnumKeyExA(key, 0, child, &length, NULL, NULL, NULL, NULL) != ERROR_SUCCESS) {
            break;
        }
        if (!DeleteSubtree(view, key, child)) {
            RegCloseKey(key);
            return false;
        }
    }
    RegCloseKey(key);
    status = RegDeleteKeyExA(parent, name, view, 0);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

bool DeleteRegistryTreeInView(REGSAM view, const char *path) {
    return DeleteSubtree(view, HKEY_LOCAL_MACHINE, path);
}

bool RegistryKeyExists(const char *path) {
    return RegistryKeyExistsInView(OWN_VIEW, path);
}

bool ReadRegistryString(const char *path, const char *name, RegistryString *value) {
    return ReadRegistryStringInView(OWN_VIEW, path, name, value);
}

bool CountRegistryEntries(const char *path, DWORD *subkeys, DWORD *values) {
    return CountRegistryEntriesInView(OWN_VIEW, path, subkeys, values);
}

bool WriteRegistryString(const char *path, const char *name, const char *text) {
    return WriteRegistryStringInView(OWN_VIEW, path, name, text);
}

bool DeleteRegistryTree(const char *path) {
    return DeleteRegistryTreeInView(OWN_VIEW, path);
}
