// Per-run reset of the fake machine and of the program's globals.
#include <windows.h>
#include "program_state.h"
#include "fuzz_check.h"
#include "../../src/install/version_query.h"
#include "../../src/shell/activity_log.h"
#include "../../src/shell/installer.h"
#include "../../src/shell/main_window.h"

HRESULT g_registrarResult;

static HRESULT WINAPI StandInRegister(void) {
    return g_registrarResult;
}

static HRESULT WINAPI StandInUnregister(void) {
    return S_OK;
}

void ResetProgram(void) {
    MakeFakeReportsFatal();
    fakewin::Reset();
    g_registrarResult = S_OK;
    g_hInstance = NULL;
    g_hMainWnd = NULL;
    g_hRegistrarLibrary = NULL;
    g_pfnRegistrarRegister = StandInRegister;
    g_pfnRegistrarUnregister = StandInUnregister;
    g_requestedAction = ACTION_NONE;
    g_closeRequested = 0;
    g_classAtom = 0;
    g_maxLogExtent = 0;
    memset(g_libraryVersion, 0x5a, sizeof g_libraryVersion);
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
