#include <windows.h>
#include "program_window.h"
#include "check.h"
#include "dialog_controls.h"
#include "main_window_wait.h"
#include "program_under_test.h"
#include "window_search.h"

bool OpenProgramWindow(ProgramWindow *program) {
    program->window = StartAndWaitForMainWindow(0, NULL, &program->run);
    program->list = NULL;
    program->versionLabel = NULL;
    if (program->window == NULL) {
        return false;
    }
    program->list = FindControl(program->window, IDC_LOG_LIST);
    program->versionLabel = FindControl(program->window, IDC_VERSION_TEXT);
    return CheckTrue(program->list != NULL && program->versionLabel != NULL,
                     "main window has its log list and version label");
}

void CloseProgramWindow(ProgramWindow *program) {
    // After a failure the program may sit in a box or a file dialog:
    // closing the main window would then not end it, and EndProgram deals
    // with it instead.
    if (program->window != NULL && !ProgramHasExited(&program->run) &&
        IsWindowVisible(program->window) &&
        CountProcessWindows(program->run.processId, DIALOG_CLASS) == 1) {
        CloseMainWindowExpectExit(program->window, &program->run);
    } else if (program->window != NULL) {
        Note("the program is not idle in its main window: not checking its exit");
    }
    EndProgram(&program->run);
}

bool PressButton(const ProgramWindow *program, int id, const char *label) {
    char what[128];
    wsprintfA(what, "press \"%s\"", label);
    HWND button = FindControl(program->window, id);
    return CheckTrue(button != NULL &&
                         PostMessageA(program->window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                                      (LPARAM)button) != 0,
                     what);
}

void CheckVersionLabel(const ProgramWindow *program, const char *expected) {
    char text[512];
    text[0] = 0;
    GetWindowTextA(program->versionLabel, text, sizeof text);
    CheckText("version label", expected, text);
}
