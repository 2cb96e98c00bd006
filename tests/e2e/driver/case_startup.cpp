// Start-up failures of the registrar library: each shows one error box with
// only an OK button, never a main window, and the program ends with 0.
#include <windows.h>
#include <stdio.h>
#include <string.h>
#include "cases.h"
#include "check.h"
#include "message_box.h"
#include "program_run.h"
#include "program_under_test.h"
#include "window_search.h"

struct StartupFailure {
    const char *program;
    bool registrarInFolder;
    const char *text;
};

static const StartupFailure g_noRegistrar = {PROGRAM_NO_REGISTRAR_PATH, false,
                                             "BIBLIOTECA REGQUORVALIS2.OCX NAO ENCONTRADA"};
// "OCX" runs straight into "NAO" in both texts.
static const StartupFailure g_onlyRegister = {
    PROGRAM_ONLY_REGISTER_PATH, true,
    "FUNCAO DllUnregisterServer DA BIBLIOTECA REGQUORVALIS2.OCXNAO ENCONTRADA"};
static const StartupFailure g_onlyUnregister = {
    PROGRAM_ONLY_UNREGISTER_PATH, true,
    "FUNCAO DllRegisterServer DA BIBLIOTECA REGQUORVALIS2.OCXNAO ENCONTRADA"};

// The folder holds the registrar variant or not; and without one there, no
// other copy may lie on the program's library search path.
static bool CheckLayout(const StartupFailure *expected) {
    char folder[MAX_PATH];
    char file[MAX_PATH];
    char searchPath[4 * MAX_PATH];
    char windows[MAX_PATH];
    char system[MAX_PATH];
    char found[MAX_PATH];
    char *name;

    lstrcpynA(folder, expected->program, MAX_PATH);
    *strrchr(folder, '\\') = 0;
    wsprintfA(file, "%s\\%s", folder, REGISTRAR_FILE);
    bool present = GetFileAttributesA(file) != INVALID_FILE_ATTRIBUTES;
    if (!CheckTrue(present == expected->registrarInFolder,
                   expected->registrarInFolder
                       ? "registrar library is in the program's folder"
                       : "registrar library is not in the program's folder")) {
        return false;
    }
    if (expected->registrarInFolder) {
        return true;
    }
    GetWindowsDirectoryA(windows, MAX_PATH);
    GetSystemDirectoryA(system, MAX_PATH);
    wsprintfA(searchPath, "%s;%s;%s\\system;%s", folder, system, windows, windows);
    bool reachable = SearchPathA(searchPath, REGISTRAR_FILE, NULL, MAX_PATH, found, &name) != 0;
    if (!reachable) {
        char pathVariable[2 * MAX_PATH];
        DWORD length = GetEnvironmentVariableA("PATH", pathVariable, sizeof pathVariable);
        if (length > 0 && length < sizeof pathVariable) {
            reachable =
                SearchPathA(pathVariable, REGISTRAR_FILE, NULL, MAX_PATH, found, &name) != 0;
        }
    }
    if (reachable) {
        Note("found %s", found);
    }
    return CheckTrue(!reachable, "no registrar library on the program's search path");
}

static void ExpectErrorBoxAndExit(const StartupFailure *expected, ProgramRun *run) {
    WindowWatch watch = {MAIN_TITLE_PREFIX, false, ""};
    HWND box = WaitForProcessWindow(run, DIALOG_CLASS, NULL, WINDOW_WAIT_MS, &watch);
    if (!CheckTrue(box != NULL, "a message box appears")) {
        DWORD code;
        if (WaitProgramExit(run, 0, &code)) {
            Note("the program ended with code %lu without showing it", code);
        }
        DescribeProcessWindows(run->processId);
        return;
    }

    MessageBoxInfo info;
    CheckTrue(ReadMessageBox(box, &info), "the box has a text control (0xFFFF)");
    CheckText("box caption", ERROR_CAPTION, info.caption);
    CheckText("box text", expected->text, info.text);
    char buttons[128];
    DescribeButtons(&info, buttons, sizeof buttons);
    CheckText("box buttons", "IDOK", buttons);
    CheckInt("dialogs shown at once", 1, CountProcessWindows(run->processId, DIALOG_CLASS));

    CheckTrue(AnswerMessageBox(box, IDOK), "post IDOK to the box");
    DWORD code = 0;
    if (CheckTrue(WaitExitWatching(run, EXIT_WAIT_MS, &watch, &code),
                  "the program ends after OK")) {
        CheckInt("exit code", 0, (long)code);
    } else {
        DescribeProcessWindows(run->processId);
    }
    if (!CheckTrue(!watch.seen, "no main window appeared")) {
        Note("saw a window titled \"%s\"", watch.seenTitle);
    }
}

static void RunStartupFailure(const StartupFailure *expected) {
    if (!CheckLayout(expected)) {
        return;
    }
    ProgramRun run;
    if (!StartProgram(expected->program, NULL, &run)) {
        return;
    }
    ExpectErrorBoxAndExit(expected, &run);
    EndProgram(&run);
}

void CaseStartupNoRegistrar(int, char **) {
    RunStartupFailure(&g_noRegistrar);
}

void CaseStartupOnlyRegister(int, char **) {
    RunStartupFailure(&g_onlyRegister);
}

void CaseStartupOnlyUnregister(int, char **) {
    RunStartupFailure(&g_onlyUnregister);
}
