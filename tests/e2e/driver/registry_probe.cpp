#include <windows.h>
#include <string.h>
#include "registry_probe.h"

#define KEY_NAME_MAX 256
#define CLASSES      "Software\\Classes\\"

// Where a path that the 32-bit program names lies on the 64-bit side. A
// 32-bit process finds Software\X under Software\Wow6432Node\X, and under
// Software\Classes only the keys that Classes\Wow6432Node also holds (CLSID,
// TypeLib, Interface) are its own; the others, the ProgID among them, are
// shared. The driver translates the path itself: Wine's 64-bit side, asked
// for the 32-bit view, would redirect the whole of Software\Classes.
static void NativePath(REGSAM view, const char *path, char *native) {
    lstrcpynA(native, path, MAX_PATH);
    if (view != PROGRAM_VIEW) {
        return;
    }
    if (_strnicmp(path, CLASSES, strlen(CLASSES)) != 0) {
        if (_strnicmp(path, "Software\\", 9) == 0) {
            wsprintfA(native, "Software\\Wow6432Node\\%s", path + 9);
        }
        return;
    }
    const char *rest = path + strlen(CLASSES);
    char first[MAX_PATH];
    lstrcpynA(first, rest, MAX_PATH);
    char *slash = strchr(first, '\\');
    if (slash != NULL) {
        *slash = 0;
    }
    char redirected[MAX_PATH];
    wsprintfA(redirected, CLASSES "Wow6432Node\\%s", first);
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, redirected, 0, KEY_READ | KEY_WOW64_64KEY, &key) ==
        ERROR_SUCCESS) {
        RegCloseKey(key);
        wsprintfA(native, CLASSES "Wow6432Node\\%s", rest);
    }
}

static LONG OpenInView(REGSAM view, const char *path, REGSAM access, HKEY *key) {
    char native[MAX_PATH];
    NativePath(view, path, native);
    return RegOpenKeyExA(HKEY_LOCAL_MACHINE, native, 0, access | KEY_WOW64_64KEY, key);
}

bool RegistryKeyExistsInView(REGSAM view, const char *path) {
    HKEY key;
    if (OpenInView(view, path, KEY_READ, &key) != ERROR_SUCCESS) {
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
    if (OpenInView(view, path, KEY_READ, &key) != ERROR_SUCCESS) {
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
    if (OpenInView(PROGRAM_VIEW, path, KEY_READ, &key) != ERROR_SUCCESS) {
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
    if (OpenInView(view, path, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    LONG status = RegQueryInfoKeyA(key, NULL, NULL, NULL, subkeys, NULL, NULL, values, NULL, NULL,
                                   NULL, NULL);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

bool WriteRegistryStringInView(REGSAM view, const char *path, const char *name, const char *text) {
    HKEY key;
    char native[MAX_PATH];
    NativePath(view, path, native);
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, native, 0, NULL, 0, KEY_WRITE | KEY_WOW64_64KEY, NULL,
                        &key, NULL) != ERROR_SUCCESS) {
        return false;
    }
    LONG status =
        RegSetValueExA(key, name, 0, REG_SZ, (const BYTE *)text, (DWORD)lstrlenA(text) + 1);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

// A key with subkeys cannot be deleted: empty it first, deepest keys first.
static bool DeleteSubtree(HKEY parent, const char *name) {
    HKEY key;
    LONG status = RegOpenKeyExA(parent, name, 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY, &key);
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
        if (!DeleteSubtree(key, child)) {
            RegCloseKey(key);
            return false;
        }
    }
    RegCloseKey(key);
    status = RegDeleteKeyExA(parent, name, KEY_WOW64_64KEY, 0);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

bool DeleteRegistryTreeInView(REGSAM view, const char *path) {
    char native[MAX_PATH];
    NativePath(view, path, native);
    return DeleteSubtree(HKEY_LOCAL_MACHINE, native);
}

bool RegistryKeyExists(const char *path) {
    return RegistryKeyExistsInView(PROGRAM_VIEW, path);
}

bool ReadRegistryString(const char *path, const char *name, RegistryString *value) {
    return ReadRegistryStringInView(PROGRAM_VIEW, path, name, value);
}

bool CountRegistryEntries(const char *path, DWORD *subkeys, DWORD *values) {
    return CountRegistryEntriesInView(PROGRAM_VIEW, path, subkeys, values);
}

bool WriteRegistryString(const char *path, const char *name, const char *text) {
    return WriteRegistryStringInView(PROGRAM_VIEW, path, name, text);
}

bool DeleteRegistryTree(const char *path) {
    return DeleteRegistryTreeInView(PROGRAM_VIEW, path);
}
