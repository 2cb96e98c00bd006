// qv-e2e: drives the program under Wine like an operator and checks what it
// shows. Usage: qv-e2e <case> [args] | qv-e2e --list
// Exit code 0 when every check of the case passed, 1 otherwise, 2 on misuse.
#include <windows.h>
#include <stdio.h>
#include <string.h>
#include "cases.h"
#include "check.h"
#include "harness_fixture.h"
#include "prefix_arch.h"

static int Usage(void) {
    printf("usage: qv-e2e <case> [args]\ncases:\n");
    ListTestCases();
    return 2;
}

int main(int argc, char **argv) {
    if (argc >= 2 && strcmp(argv[1], FIXTURE_ARGUMENT) == 0) {
        return RunHarnessFixture();
    }
    if (argc < 2 || strcmp(argv[1], "--list") == 0) {
        return Usage();
    }
    const TestCase *testCase = FindTestCase(argv[1]);
    if (testCase == NULL) {
        printf("unknown case \"%s\"\n", argv[1]);
        return Usage();
    }

    DWORD start = GetTickCount();
    CheckBegin(testCase->name);
    // The program's texts are code page 1252; under any other ANSI code
    // page every text comparison would fail for the wrong reason.
    if (CheckInt("Wine's ANSI code page", 1252, (long)GetACP()) && CheckPrefixArch()) {
        testCase->run(argc - 2, argv + 2);
    }
    DWORD elapsed = GetTickCount() - start;
    int failures = CheckFailures();
    if (failures == 0) {
        Note("PASS %s (%lu ms)", testCase->name, elapsed);
    } else {
        Note("FAIL %s: %d failed check(s) (%lu ms)", testCase->name, failures, elapsed);
    }
    return failures == 0 ? 0 : 1;
}
