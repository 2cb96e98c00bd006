// A registration of the component's class by a 64-bit server, in the 64-bit
// view of a 64-bit Windows: what a 64-bit build of the component would
// leave there. The program is a 32-bit process: it never sees this
// registration, and its reset must leave it exactly as it was.
#pragma once

// Writes the 64-bit class key and its server key.
bool SeedNativeClass(void);
// Both keys hold exactly what SeedNativeClass wrote, and nothing else.
void CheckNativeClassKept(void);
// Removes it; false if some of it stays.
bool ClearNativeClass(void);
