// The program started from the standard layout, with the controls of its
// main window that the registration cases read and press.
#pragma once
#include <windows.h>
#include "program_run.h"

struct ProgramWindow {
    ProgramRun run;
    HWND window;
    HWND list;         // the log
    HWND versionLabel; // shows the library's version once read
};

// Starts the program and waits for its main window; false (already in the
// transcript) if it does not come.
bool OpenProgramWindow(ProgramWindow *program);
// When the program is idle in its main window, closes it and expects exit
// code 0; in any case leaves no program running.
void CloseProgramWindow(ProgramWindow *program);
// Posts the button's command, as a click would send it.
bool PressButton(const ProgramWindow *program, int id, const char *label);
void CheckVersionLabel(const ProgramWindow *program, const char *expected);
