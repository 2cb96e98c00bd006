#include <windows.h>
#include <string.h>
#include "component_registry.h"
#include "check.h"
#include "program_under_test.h"
#include "registry_probe.h"

#define CLASSES      "Software\\Classes"
#define PROGID_KEY   CLASSES "\\" COMPONENT_PROGID
#define PROGID_CLSID PROGID_KEY "\\CLSID"
#define CLASS_KEY    CLASSES "\\CLSID\\" CLSID_TEXT
#define SERVER_KEY   CLASS_KEY "\\InprocServer32"
#define CLASS_PROGID CLASS_KEY "\\ProgID"

struct LayoutValue {
    const char *key;
    const char *name; // NULL: the default value
    const char *data; // NULL: the library path
};

static const LayoutValue g_values[] = {
    {PROGID_KEY, NULL, COMPONENT_DESCRIPTION}, {PROGID_CLSID, NULL, CLSID_TEXT},
    {CLASS_KEY, NULL, COMPONENT_DESCRIPTION},  {SERVER_KEY, NULL, NULL},
    {SERVER_KEY, "ThreadingModel", "both"},    {CLASS_PROGID, NULL, COMPONENT_PROGID},
};

struct LayoutKey {
    const char *path;
    DWORD subkeys;
    DWORD values;
};

// Deepest first, the order in which they can be deleted.
static const LayoutKey g_keys[] = {
    {PROGID_CLSID, 0, 1}, {PROGID_KEY, 1, 1}, {SERVER_KEY, 0, 2},
    {CLASS_PROGID, 0, 1}, {CLASS_KEY, 2, 1},
};

#define VALUE_COUNT ((int)(sizeof g_values / sizeof g_values[0]))
#define KEY_COUNT   ((int)(sizeof g_keys / sizeof g_keys[0]))

bool SeedComponentLayout(const char *libraryPath) {
    for (int i = 0; i < VALUE_COUNT; ++i) {
        const LayoutValue *value = &g_values[i];
        const char *data = value->data != NULL ? value->data : libraryPath;
        if (!WriteRegistryString(value->key, value->name, data)) {
            Note("could not write %s [%s]", value->key, value->name ? value->name : "(default)");
            return false;
        }
    }
    return true;
}

static void CheckValue(const LayoutValue *expected, const char *libraryPath) {
    const char *data = expected->data != NULL ? expected->data : libraryPath;
    const char *name = expected->name != NULL ? expected->name : "(default)";
    char what[512];
    RegistryString value;
    wsprintfA(what, "HKLM\\%s [%s] exists", expected->key, name);
    if (!CheckTrue(ReadRegistryString(expected->key, expected->name, &value), what)) {
        return;
    }
    wsprintfA(what, "HKLM\\%s [%s] type REG_SZ", expected->key, name);
    CheckInt(what, REG_SZ, (long)value.type);
    DWORD bytes = (DWORD)lstrlenA(data) + 1;
    wsprintfA(what, "HKLM\\%s [%s] byte count", expected->key, name);
    CheckInt(what, (long)bytes, (long)value.ansiBytes);
    wsprintfA(what, "HKLM\\%s [%s] stored with its terminator (wide bytes)", expected->key, name);
    CheckInt(what, (long)(2 * bytes), (long)value.wideBytes);
    wsprintfA(what, "HKLM\\%s [%s] data", expected->key, name);
    CheckText(what, data, value.text);
    wsprintfA(what, "HKLM\\%s [%s] bytes incl. terminator", expected->key, name);
    CheckTrue(value.ansiBytes == bytes && memcmp(value.text, data, bytes) == 0, what);
}

void CheckComponentLayout(const char *libraryPath) {
    for (int i = 0; i < VALUE_COUNT; ++i) {
        CheckValue(&g_values[i], libraryPath);
    }
    char what[512];
    for (int i = 0; i < KEY_COUNT; ++i) {
        DWORD subkeys = 0;
        DWORD values = 0;
        CountRegistryEntries(g_keys[i].path, &subkeys, &values);
        wsprintfA(what, "HKLM\\%s holds %lu subkey(s) and %lu value(s)", g_keys[i].path,
                  g_keys[i].subkeys, g_keys[i].values);
        CheckTrue(subkeys == g_keys[i].subkeys && values == g_keys[i].values, what);
        if (subkeys != g_keys[i].subkeys || values != g_keys[i].values) {
            Note("it holds %lu subkey(s) and %lu value(s)", subkeys, values);
        }
    }
}

void CheckComponentLayoutAbsent(void) {
    char what[512];
    for (int i = 0; i < KEY_COUNT; ++i) {
        wsprintfA(what, "HKLM\\%s is gone", g_keys[i].path);
        CheckTrue(!RegistryKeyExists(g_keys[i].path), what);
    }
    CheckTrue(RegistryKeyExists(CLASSES "\\CLSID"), "HKLM\\" CLASSES "\\CLSID is still there");
}

bool ClearComponentLayout(void) {
    return DeleteRegistryTree(PROGID_KEY) && DeleteRegistryTree(CLASS_KEY) &&
           !RegistryKeyExists(PROGID_KEY) && !RegistryKeyExists(CLASS_KEY);
}
