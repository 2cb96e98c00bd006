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
// Where the 64-bit side of a 64-bit Windows finds a 32-bit process's class
// keys: Software\Classes\CLSID is redirected, the ProgID keys are not.
#define WOW64_CLASS_KEY  CLASSES "\\WOW6432Node\\CLSID\\" CLSID_TEXT
#define WOW64_PROGID_KEY CLASSES "\\WOW6432Node\\" COMPONENT_PROGID

// The layout is two trees: the ProgID key and the class key.
enum LayoutRoot { PROGID_ROOT, CLASS_ROOT };

// One side's view of the layout: the program's, or the 64-bit side of the
// 64-bit Windows, where the redirected class key is named as it lies.
struct RegistrySide {
    REGSAM view;
    const char *classKey;
    const char *suffix; // after each check's text
};

static const RegistrySide g_ownSide = {PROGRAM_VIEW, CLASS_KEY, ""};
static const RegistrySide g_nativeSide = {NATIVE_VIEW, WOW64_CLASS_KEY, " (64-bit view)"};

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

static void KeyPath(const RegistrySide *side, LayoutRoot root, const char *subkey, char *path) {
    wsprintfA(path, "%s%s", root == PROGID_ROOT ? PROGID_KEY : side->classKey, subkey);
}

bool SeedComponentLayout(const char *libraryPath) {
    char path[MAX_PATH];
    for (int i = 0; i < VALUE_COUNT; ++i) {
        const LayoutValue *value = &g_values[i];
        const char *data = value->data != NULL ? value->data : libraryPath;
        KeyPath(&g_ownSide, value->root, value->subkey, path);
        if (!WriteRegistryString(path, value->name, data)) {
            Note("could not write %s [%s]", path, value->name ? value->name : "(default)");
            return false;
        }
    }
    return true;
}

static void CheckValue(const RegistrySide *side, const LayoutValue *expected,
                       const char *libraryPath) {
    const char *data = expected->data != NULL ? expected->data : libraryPath;
    const char *name = expected->name != NULL ? expected->name : "(default)";
    const char *suffix = side->suffix;
    char path[MAX_PATH];
    char what[512];
    RegistryString value;
    KeyPath(side, expected->root, expected->subkey, path);
    wsprintfA(what, "HKLM\\%s [%s] exists%s", path, name, suffix);
    if (!CheckTrue(ReadRegistryStringInView(side->view, path, expected->name, &value), what)) {
        return;
    }
    wsprintfA(what, "HKLM\\%s [%s] type REG_SZ%s", path, name, suffix);
    CheckInt(what, REG_SZ, (long)value.type);
    DWORD bytes = (DWORD)lstrlenA(data) + 1;
    wsprintfA(what, "HKLM\\%s [%s] byte count%s", path, name, suffix);
    CheckInt(what, (long)bytes, (long)value.ansiBytes);
    wsprintfA(what, "HKLM\\%s [%s] stored with its terminator (wide bytes)%s", path, name, suffix);
    CheckInt(what, (long)(2 * bytes), (long)value.wideBytes);
    wsprintfA(what, "HKLM\\%s [%s] data%s", path, name, suffix);
    CheckText(what, data, value.text);
    wsprintfA(what, "HKLM\\%s [%s] bytes incl. terminator%s", path, name, suffix);
    CheckTrue(value.ansiBytes == bytes && memcmp(value.text, data, bytes) == 0, what);
}

static void CheckLayoutOn(const RegistrySide *side, const char *libraryPath) {
    for (int i = 0; i < VALUE_COUNT; ++i) {
        CheckValue(side, &g_values[i], libraryPath);
    }
    char path[MAX_PATH];
    char what[512];
    for (int i = 0; i < KEY_COUNT; ++i) {
        const LayoutKey *key = &g_keys[i];
        DWORD subkeys = 0;
        DWORD values = 0;
        KeyPath(side, key->root, key->subkey, path);
        CountRegistryEntriesInView(side->view, path, &subkeys, &values);
        wsprintfA(what, "HKLM\\%s holds %lu subkey(s) and %lu value(s)%s", path, key->subkeys,
                  key->values, side->suffix);
        CheckTrue(subkeys == key->subkeys && values == key->values, what);
        if (subkeys != key->subkeys || values != key->values) {
            Note("it holds %lu subkey(s) and %lu value(s)", subkeys, values);
        }
    }
}

void CheckComponentLayout(const char *libraryPath) {
    CheckLayoutOn(&g_ownSide, libraryPath);
    // The program asks for no registry view: its class keys must land where
    // 32-bit clients look, and nowhere a 64-bit client would look.
    CheckLayoutOn(&g_nativeSide, libraryPath);
    CheckTrue(!RegistryKeyExistsInView(NATIVE_VIEW, CLASS_KEY),
              "no HKLM\\" CLASS_KEY " in the 64-bit view");
    CheckTrue(!RegistryKeyExistsInView(NATIVE_VIEW, WOW64_PROGID_KEY),
              "the ProgID key is shared: no HKLM\\" WOW64_PROGID_KEY " (64-bit view)");
}

static void CheckLayoutGoneFrom(const RegistrySide *side) {
    char path[MAX_PATH];
    char what[512];
    for (int i = 0; i < KEY_COUNT; ++i) {
        KeyPath(side, g_keys[i].root, g_keys[i].subkey, path);
        wsprintfA(what, "HKLM\\%s is gone%s", path, side->suffix);
        CheckTrue(!RegistryKeyExistsInView(side->view, path), what);
    }
}

void CheckComponentLayoutAbsent(void) {
    CheckLayoutGoneFrom(&g_ownSide);
    CheckTrue(RegistryKeyExists(CLASSES "\\CLSID"), "HKLM\\" CLASSES "\\CLSID is still there");
    CheckLayoutGoneFrom(&g_nativeSide);
}

bool ClearComponentLayout(void) {
    bool cleared = DeleteRegistryTree(PROGID_KEY) && DeleteRegistryTree(CLASS_KEY) &&
                   !RegistryKeyExists(PROGID_KEY) && !RegistryKeyExists(CLASS_KEY);
    return ClearNativeClass() && cleared;
}
