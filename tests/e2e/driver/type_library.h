// The component's type library registration, which OLE Automation writes
// under TypeLib\{LIBID} and Interface\{IID} of the classes root.
#pragma once

// LoadTypeLib and RegisterTypeLib on `path`, as an installation would.
bool SeedTypeLibrary(const char *path);
// Registered as version 1.0, locale 0, win32, from `path`.
void CheckTypeLibraryRegistered(const char *path);
void CheckTypeLibraryAbsent(void);
// Unregisters it and removes any keys left; false if some stay.
bool ClearTypeLibrary(void);
