// The component's registry layout under HKEY_LOCAL_MACHINE\Software\Classes:
// its five keys and six values, written here to seed a case and checked
// after the program has written or removed them.
#pragma once

// The six values, with `libraryPath` as the server's path.
bool SeedComponentLayout(const char *libraryPath);
// Every value exact (type REG_SZ, bytes and stored size with the
// terminator) and no other key or value in the layout.
void CheckComponentLayout(const char *libraryPath);
// The five keys gone; the shared "CLSID" key still there.
void CheckComponentLayoutAbsent(void);
// Removes whatever part of the layout exists; false if some of it stays.
bool ClearComponentLayout(void);
