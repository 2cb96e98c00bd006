// What the sample registrar library keeps under
// HKEY_LOCAL_MACHINE\Software\QuorvalisSamples: its "Registered" record,
// the failure switch and a counter of calls per entry.
#pragma once
#include <windows.h>

// Removes every record, the counters and the switch included.
bool ClearSampleRecords(void);
// The record a successful DllRegisterServer leaves.
bool SeedRegistrarRecord(void);
void CheckRegistrarRecord(bool expectedPresent);
// The calls since the case cleared the records; a missing counter is 0.
void CheckRegistrarCalls(DWORD registers, DWORD unregisters);
