#include <windows.h>
#include <string.h>
#include "component_registry.h"
#include "check.h"
#include "native_class.h"
#include "program_under_test.h"
#include "registry_probe.h"

#define CLASSES    "Software\\Classes"
#define PROGID_KEY CLASSES "\\" COMPONENT_PROGID
#define CLASS_KEY  CLASSES "\\CLSID\\" CLSID_TEXT
// The ProgID keys are shared by both views, so there is none here.
#define WOW64_PROGID_KEY CLASSES "\\WOW6432Node\\" COMPONENT_PROGID

// The layout is two trees: the ProgID key and the class key.
enum LayoutRoot { PROGID_ROOT, CLASS_ROOT };

struct LayoutValue {
    LayoutRoot root;
    const char *subkey; // below the root, "" for the root itself
    const char *name;   // NULL: the default value
    const char *data;   // NULL: the library path
};

static const LayoutValue g_values[] = {
    {PROGID_ROOT, "", NULL, COMPONENT_DESCRIPTION},
    {PROGID_ROOT, "\\CLSID", NULL, CLSID_TEXT},
    {CLASS_ROOT, "", NULL, COMPONENT_DESCRIPTION},
    {CLASS_ROOT, "\\InprocServer32", NULL, NULL},
    {CLASS_ROOT, "\\InprocServer32", "ThreadingModel", "both"},
    {CLASS_ROOT, "\\ProgID", NULL, COMPONENT_PROGID},
};

struct LayoutKey {
    LayoutRoot root;
    const char *subkey;
    DWORD subkeys;
    DWORD values;
};

// Deepest first, the order in which they can be deleted.
static const LayoutKey g_keys[] = {
    {PROGID_ROOT, "\\CLSID", 0, 1}, {PROGID_ROOT, "", 1, 1}, {CLASS_ROOT, "\\InprocServer32", 0, 2},
    {CLASS_ROOT, "\\ProgID", 0, 1}, {CLASS_ROOT, "", 2, 1},
};

#define VALUE_COUNT ((int)(sizeof g_values / sizeof g_values[0]))
#define KEY_COUNT   ((int)(sizeof g_keys / sizeof g_keys[0]))

static void KeyPath(LayoutRoot root, const char *subkey, char *path) {
    wsprintfA(path, "%s%s", root == PROGID_ROOT ? PROGID_KEY : CLASS_KEY, subkey);
}

bool SeedComponentLayout(const char *libraryPath) {
    char path[MAX_PATH];
    for (int i = 0; i < VALUE_COUNT; ++i) {
        const LayoutValue *value = &g_values[i];
        const char *data = value->data != NULL ? value->data : libraryPath;
        KeyPath(value->root, value->subkey, path);
        if (!WriteRegistryString(path, value->name, data)) {
            Note("could not write %s [%s]", path, value->name ? value->name : "(default)");
            return false;
        }
    }
    return true;
}

static void CheckValue(const LayoutValue *expected, const char *libraryPath) {
    const char *data = expected->data != NULL ? expected->data : libraryPath;
    const char *name = expected->name != NULL ? expected->name : "(default)";
    char path[MAX_PATH];
    char what[512];
    RegistryString value;
    KeyPath(expected->root, expected->subkey, path);
    wsprintfA(what, "HKLM\\%s [%s] exists", path, name);
    if (!CheckTrue(ReadRegistryString(path, expected->name, &value), what)) {
        return;
    }
    wsprintfA(what, "HKLM\\%s [%s] type REG_SZ", path, name);
    CheckInt(what, REG_SZ, (long)value.type);
    DWORD bytes = (DWORD)lstrlenA(data) + 1;
    wsprintfA(what, "HKLM\\%s [%s] byte count", path, name);
    CheckInt(what, (long)bytes, (long)value.ansiBytes);
    wsprintfA(what, "HKLM\\%s [%s] stored with its terminator (wide bytes)", path, name);
    CheckInt(what, (long)(2 * bytes), (long)value.wideBytes);
    wsprintfA(what, "HKLM\\%s [%s] data", path, name);
    CheckText(what, data, value.text);
    wsprintfA(what, "HKLM\\%s [%s] bytes incl. terminator", path, name);
    CheckTrue(value.ansiBytes == bytes && memcmp(value.text, data, bytes) == 0, what);
}

void CheckComponentLayout(const char *libraryPath) {
    for (int i = 0; i < VALUE_COUNT; ++i) {
        CheckValue(&g_values[i], libraryPath);
    }
    char path[MAX_PATH];
    char what[512];
    for (int i = 0; i < KEY_COUNT; ++i) {
        const LayoutKey *key = &g_keys[i];
        DWORD subkeys = 0;
        DWORD values = 0;
        KeyPath(key->root, key->subkey, path);
        CountRegistryEntries(path, &subkeys, &values);
        wsprintfA(what, "HKLM\\%s holds %lu subkey(s) and %lu value(s)", path, key->subkeys,
                  key->values);
        CheckTrue(subkeys == key->subkeys && values == key->values, what);
        if (subkeys != key->subkeys || values != key->values) {
            Note("it holds %lu subkey(s) and %lu value(s)", subkeys, values);
        }
    }
    // The program asks for no registry view: its class keys must land where
    // 32-bit clients look (read above), and nowhere a 64-bit client would look.
    CheckTrue(!RegistryKeyExistsInView(NATIVE_VIEW, CLASS_KEY),
              "no HKLM\\" CLASS_KEY " in the 64-bit view");
    CheckTrue(!RegistryKeyExistsInView(NATIVE_VIEW, WOW64_PROGID_KEY),
              "the ProgID key is shared: no HKLM\\" WOW64_PROGID_KEY " (64-bit view)");
}

void CheckComponentLayoutAbsent(void) {
    char path[MAX_PATH];
    char what[512];
    for (int i = 0; i < KEY_COUNT; ++i) {
        KeyPath(g_keys[i].root, g_keys[i].subkey, path);
        wsprintfA(what, "HKLM\\%s is gone", path);
        CheckTrue(!RegistryKeyExists(path), what);
    }
    CheckTrue(RegistryKeyExists(CLASSES "\\CLSID"), "HKLM\\" CLASSES "\\CLSID is still there");
}

bool ClearComponentLayout(void) {
    bool cleared = DeleteRegistryTree(PROGID_KEY) && DeleteRegistryTree(CLASS_KEY) &&
                   !RegistryKeyExists(PROGID_KEY) && !RegistryKeyExists(CLASS_KEY);
    return ClearNativeClass() && cleared;
}
