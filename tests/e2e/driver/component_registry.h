// The component's registry layout under HKEY_LOCAL_MACHINE\Software\Classes:
// its five keys and six values, written here to seed a case and checked
// after the program has written or removed them. On a 64-bit Windows the
// checks also look from the 64-bit side, where the class keys of a 32-bit
// server lie under WOW6432Node and the ProgID key is shared.
#pragma once

// The six values, with `libraryPath` as the server's path.
bool SeedComponentLayout(const char *libraryPath);
// Every value exact (type REG_SZ, bytes and stored size with the
// terminator) and no other key or value in the layout; on a 64-bit Windows
// the same seen from the 64-bit side, and no class key in its own CLSID.
void CheckComponentLayout(const char *libraryPath);
// The five keys gone (from both sides on a 64-bit Windows); the shared
// "CLSID" key still there.
void CheckComponentLayoutAbsent(void);
// Removes whatever part of the layout exists, and on a 64-bit Windows any
// registration of the class in the 64-bit view; false if some of it stays.
bool ClearComponentLayout(void);
