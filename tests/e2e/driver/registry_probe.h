// Reading and preparing the live registry of the prefix from the driver, a
// 32-bit program in a 32-bit prefix, so there is no registry view to pick.
// Every path is under HKEY_LOCAL_MACHINE.
#pragma once
#include <windows.h>

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
