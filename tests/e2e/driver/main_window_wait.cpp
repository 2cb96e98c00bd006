#include <windows.h>
#include "main_window_wait.h"
#include "check.h"
#include "program_under_test.h"
#include "window_search.h"

HWND StartAndWaitForMainWindow(int argc, char **argv, ProgramRun *run) {
    const char *program = argc > 0 ? argv[0] : PROGRAM_PATH;
    if (!StartProgram(program, NULL, run)) {
        return NULL;
    }
    // Any dialog of the program: if it is not the main window (a start-up
    // error box, say), the title check shows what came instead.
    HWND window = ExpectProcessDialog(run, NULL, "a visible dialog of the program appears");
    if (window == NULL) {
        return NULL;
    }
    char title[512];
    title[0] = 0;
    GetWindowTextA(window, title, sizeof title);
    if (!CheckText("main window title", MAIN_TITLE, title)) {
        DescribeProcessWindows(run->processId);
        return NULL;
    }
    return window;
}

void CloseMainWindowExpectExit(HWND mainWindow, ProgramRun *run) {
    CheckTrue(PostMessageA(mainWindow, WM_CLOSE, 0, 0) != 0, "post WM_CLOSE to the main window");
    DWORD code = 0;
    if (CheckTrue(WaitProgramExit(run, EXIT_WAIT_MS, &code), "the program ends after the close")) {
        CheckInt("exit code", 0, (long)code);
    } else {
        DescribeProcessWindows(run->processId);
    }
}
