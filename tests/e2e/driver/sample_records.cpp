#include <windows.h>
#include "sample_records.h"
#include "check.h"
#include "registry_probe.h"

#define SAMPLES_KEY   "Software\\QuorvalisSamples"
#define REGISTRAR_KEY SAMPLES_KEY "\\Registrar"
#define CALLS_KEY     SAMPLES_KEY "\\Calls"

bool ClearSampleRecords(void) {
    return DeleteRegistryTree(SAMPLES_KEY) && !RegistryKeyExists(SAMPLES_KEY);
}

bool SeedRegistrarRecord(void) {
    return WriteRegistryString(REGISTRAR_KEY, "Registered", "1");
}

void CheckRegistrarRecord(bool expectedPresent) {
    RegistryString value;
    bool present = ReadRegistryString(REGISTRAR_KEY, "Registered", &value);
    if (expectedPresent) {
        if (CheckTrue(present, "the registrar recorded itself (HKLM\\" REGISTRAR_KEY ")")) {
            CheckText("registrar's record", "1", value.text);
        }
    } else {
        CheckTrue(!present && !RegistryKeyExists(REGISTRAR_KEY),
                  "no registrar record (HKLM\\" REGISTRAR_KEY " absent)");
    }
}

void CheckRegistrarCalls(DWORD registers, DWORD unregisters) {
    DWORD count = 0;
    ReadRegistryDword(CALLS_KEY, "DllRegisterServer", &count);
    CheckInt("registrar's DllRegisterServer calls", (long)registers, (long)count);
    count = 0;
    ReadRegistryDword(CALLS_KEY, "DllUnregisterServer", &count);
    CheckInt("registrar's DllUnregisterServer calls", (long)unregisters, (long)count);
}
