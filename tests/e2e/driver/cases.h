// The driver's test cases. Each runs one scenario against the program and
// reports through check.h; `argc`/`argv` are the arguments after the name.
#pragma once

typedef void (*CaseFunction)(int argc, char **argv);

struct TestCase {
    const char *name;
    CaseFunction run;
    const char *summary;
};

void CaseStartupNoRegistrar(int argc, char **argv);
void CaseStartupOnlyRegister(int argc, char **argv);
void CaseStartupOnlyUnregister(int argc, char **argv);
void CaseWindow(int argc, char **argv);
void CaseIdleCpu(int argc, char **argv);
void CaseHarness(int argc, char **argv);
void CaseResetAfterSeededRegistration(int argc, char **argv);
void CaseRegisterWithoutCopy(int argc, char **argv);
void CaseRegisterCopy(int argc, char **argv);
void CaseWrongName(int argc, char **argv);
void CaseMissingTypeLib(int argc, char **argv);
void CaseCancel(int argc, char **argv);
void CaseSameFolder(int argc, char **argv);
void CaseTypeLibVanishes(int argc, char **argv);
void CaseTour(int argc, char **argv);

const TestCase *FindTestCase(const char *name);
void ListTestCases(void);
