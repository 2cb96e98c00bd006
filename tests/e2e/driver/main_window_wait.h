// Starting the program with its registrar in place and waiting for its main
// window, shared by the cases that work on that window.
#pragma once
#include <windows.h>
#include "program_run.h"

// The program path is argv[0] when given, else the standard layout's.
// Returns the main window once it shows with the expected title, else NULL
// (the failure is already in the transcript).
HWND StartAndWaitForMainWindow(int argc, char **argv, ProgramRun *run);
// Posts WM_CLOSE to the main window and expects the program to end with 0.
void CloseMainWindowExpectExit(HWND mainWindow, ProgramRun *run);
