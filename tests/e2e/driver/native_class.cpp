#include <windows.h>
#include "native_class.h"
#include "check.h"
#include "program_under_test.h"
#include "registry_probe.h"

// The same path as the 32-bit class key: only the view tells them apart.
#define NATIVE_CLASS_KEY  "Software\\Classes\\CLSID\\" CLSID_TEXT
#define NATIVE_SERVER_KEY NATIVE_CLASS_KEY "\\InprocServer32"

struct NativeValue {
    const char *key;
    const char *name; // NULL: the default value
    const char *data;
};

static const NativeValue g_values[] = {
    {NATIVE_CLASS_KEY, NULL, "Quorvalis 64-bit server"},
    {NATIVE_SERVER_KEY, NULL, "C:\\Quorvalis64\\Quorvalis.dll"},
    {NATIVE_SERVER_KEY, "ThreadingModel", "Both"},
};

#define VALUE_COUNT ((int)(sizeof g_values / sizeof g_values[0]))

bool SeedNativeClass(void) {
    for (int i = 0; i < VALUE_COUNT; ++i) {
        if (!WriteRegistryStringInView(NATIVE_VIEW, g_values[i].key, g_values[i].name,
                                       g_values[i].data)) {
            Note("could not write %s (64-bit view)", g_values[i].key);
            return false;
        }
    }
    return true;
}

static void CheckEntries(const char *path, DWORD expectedSubkeys, DWORD expectedValues) {
    DWORD subkeys = 0;
    DWORD values = 0;
    char what[512];
    CountRegistryEntriesInView(NATIVE_VIEW, path, &subkeys, &values);
    wsprintfA(what, "HKLM\\%s holds %lu subkey(s) and %lu value(s) (64-bit view)", path,
              expectedSubkeys, expectedValues);
    if (!CheckTrue(subkeys == expectedSubkeys && values == expectedValues, what)) {
        Note("it holds %lu subkey(s) and %lu value(s)", subkeys, values);
    }
}

void CheckNativeClassKept(void) {
    char what[512];
    for (int i = 0; i < VALUE_COUNT; ++i) {
        const NativeValue *expected = &g_values[i];
        const char *name = expected->name != NULL ? expected->name : "(default)";
        RegistryString value;
        wsprintfA(what, "64-bit registration kept: HKLM\\%s [%s] exists (64-bit view)",
                  expected->key, name);
        if (!CheckTrue(ReadRegistryStringInView(NATIVE_VIEW, expected->key, expected->name, &value),
                       what)) {
            continue;
        }
        wsprintfA(what, "64-bit registration kept: HKLM\\%s [%s] data (64-bit view)", expected->key,
                  name);
        CheckText(what, expected->data, value.text);
    }
    CheckEntries(NATIVE_CLASS_KEY, 1, 1);
    CheckEntries(NATIVE_SERVER_KEY, 0, 2);
}

bool ClearNativeClass(void) {
    return DeleteRegistryTreeInView(NATIVE_VIEW, NATIVE_CLASS_KEY) &&
           !RegistryKeyExistsInView(NATIVE_VIEW, NATIVE_CLASS_KEY);
}
