// Identity of the one COM component the program installs, and the text form
// of its GUIDs, shared by registration and reset so that each finds the other's keys.
#pragma once
#include <windows.h>

extern const GUID CLSID_Component;
extern const GUID LIBID_Component;

#define COMPONENT_TYPELIB_MAJOR 1
#define COMPONENT_TYPELIB_MINOR 0
#define COMPONENT_TYPELIB_LCID  0

#define COMPONENT_PROGID       "Quorvalis.dll.object"
#define COMPONENT_DESCRIPTION  "Quorvalis comunica com o SAT VORAN"
#define COMPONENT_LIBRARY_FILE "Quorvalis.dll"
#define COMPONENT_TYPELIB_FILE "Quorvalis.tlb"
#define CLASSES_KEY_PATH       "Software\\Classes"

#define GUID_TEXT_SIZE 40

// Writes the 38-character braced registry form and a NUL; needs 39 bytes.
int FormatGuidString(char *dst, const GUID *guid);
