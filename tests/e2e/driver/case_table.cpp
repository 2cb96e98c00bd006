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
        printf("%-26s %s\n", g_cases[i].name, g_cases[i].summary);
    }
}
