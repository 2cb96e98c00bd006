// Reading and preparing the live registry of the prefix from the driver.
// Every path is under HKEY_LOCAL_MACHINE. The plain calls see it as the
// 32-bit program does (PROGRAM_VIEW); the "InView" calls also take
// NATIVE_VIEW, the 64-bit side of the 64-bit Windows the driver runs on.
#pragma once
#include <windows.h>

#define PROGRAM_VIEW ((REGSAM)0)
#define NATIVE_VIEW  ((REGSAM)KEY_WOW64_64KEY)

#define REGISTRY_TEXT_MAX 1024

struct RegistryString {
    bool found;
    DWORD type;
    DWORD ansiBytes; // byte count of the ANSI read, terminator included
    DWORD wideBytes; // byte count of the wide read: what is stored
    char text[REGISTRY_TEXT_MAX];
};

bool RegistryKeyExists(const char *path);
// `name` NULL reads the default value.
bool ReadRegistryString(const char *path, const char *name, RegistryString *value);
// False when the value is missing or not a REG_DWORD.
bool ReadRegistryDword(const char *path, const char *name, DWORD *value);
// Subkeys and values of a key; false when it cannot be opened.
bool CountRegistryEntries(const char *path, DWORD *subkeys, DWORD *values);
// Creates the key as needed; the byte count includes the terminator.
bool WriteRegistryString(const char *path, const char *name, const char *text);
// Deletes the key with everything below it; true also when it was absent.
bool DeleteRegistryTree(const char *path);

bool RegistryKeyExistsInView(REGSAM view, const char *path);
bool ReadRegistryStringInView(REGSAM view, const char *path, const char *name,
                              RegistryString *value);
bool CountRegistryEntriesInView(REGSAM view, const char *path, DWORD *subkeys, DWORD *values);
bool WriteRegistryStringInView(REGSAM view, const char *path, const char *name, const char *text);
bool DeleteRegistryTreeInView(REGSAM view, const char *path);
