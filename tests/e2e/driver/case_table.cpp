#include <windows.h>
#include <stdio.h>
#include <string.h>
#include "cases.h"

static const TestCase g_cases[] = {
    {"harness", CaseHarness, "the driver reads boxes and lists of a process of its own"},
    {"startup-no-ocx", CaseStartupNoRegistrar, "registrar library missing: one error box, exit 0"},
    {"startup-only-register", CaseStartupOnlyRegister,
     "registrar lacks DllUnregisterServer: one error box, exit 0"},
    {"startup-only-unregister", CaseStartupOnlyUnregister,
     "registrar lacks DllRegisterServer: one error box, exit 0"},
    {"window", CaseWindow, "main window: title, controls, centred; close gives exit 0"},
    {"idle-cpu", CaseIdleCpu, "an idle main window costs under 10% of a core"},
    {"reset-after-seeded-registration", CaseResetAfterSeededRegistration,
     "reset removes a seeded registration; a second reset finds nothing"},
    {"register-without-copy", CaseRegisterWithoutCopy,
     "register the library where it is; the client works; reset undoes it"},
    {"register-copy", CaseRegisterCopy, "register a copy made into another folder"},
    {"wrong-name", CaseWrongName, "a file with another name is refused"},
    {"missing-typelib", CaseMissingTypeLib, "a library without its type library is refused"},
    {"cancel", CaseCancel, "the copy question cancelled: nothing registered"},
    {"same-folder", CaseSameFolder, "a copy into the library's own folder is refused"},
    {"typelib-vanishes", CaseTypeLibVanishes,
     "type library gone before registration: failure undone and reported"},
    {"tour", CaseTour, "register, call the client, reset, with snapshots (make run)"},
};

const TestCase *FindTestCase(const char *name) {
    for (size_t i = 0; i < sizeof g_cases / sizeof g_cases[0]; ++i) {
        if (strcmp(g_cases[i].name, name) == 0) {
            return &g_cases[i];
        }
    }
    return NULL;
}

void ListTestCases(void) {
    for (size_t i = 0; i < sizeof g_cases / sizeof g_cases[0]; ++i) {
        printf("%-32s %s\n", g_cases[i].name, g_cases[i].summary);
    }
}
