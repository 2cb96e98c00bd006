// Per-run reset of the fake machine and of the program's globals.
#include <windows.h>
#include "program_state.h"
#include "fuzz_check.h"
#include "program_globals.h"
#include "../../src/companions/libraries.h"
#include "../../src/shell/installer.h"

HRESULT g_registrarResult;

static HRESULT WINAPI StandInRegister(void) {
    return g_registrarResult;
}

static HRESULT WINAPI StandInUnregister(void) {
    return S_OK;
}

void ResetProgram(void) {
    MakeFakeReportsFatal();
    ResetProgramGlobals(0x5a);
    g_registrarResult = S_OK;
    g_pfnRegistrarRegister = StandInRegister;
    g_pfnRegistrarUnregister = StandInUnregister;
}

void EndRun(void) {
    fakewin::Reset();
}

void PadMessageBoxAnswers(int answer, int count) {
    for (int i = 0; i < count; i++)
        fakewin::AnswerMessageBox(answer);
}

std::string SiblingPath(const std::string &path, const char *fileName) {
    size_t slash = path.find_last_of('\\');
    return (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + fileName;
}

void CheckNothingLeftOpen(void) {
    FUZZ_CHECK(fakewin::OpenKeyHandles() == 0, "a registry key was left open");
    FUZZ_CHECK(fakewin::OpenFileHandles() == 0, "a file was left open");
    FUZZ_CHECK(fakewin::TypeLibsOutstanding() == 0, "a type library was not released");
}

bool IsTerminated(const char *buffer, size_t size) {
    return memchr(buffer, '\0', size) != NULL;
}
