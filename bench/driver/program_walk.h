// Taking the program through an operator's register request up to the
// moment the last answer is due.
#pragma once
#include <windows.h>
#include "launched_process.h"

// Starts the program and waits for its main window (NULL on failure).
HWND OpenMainWindow(const char *programPath, Launched *run);
// Presses "Registrar a DLL", picks `libraryPath`, answers "No" to the copy
// question and returns the dependency warning ("A V I S O") that follows,
// still unanswered; NULL, with a note, when the program shows otherwise.
HWND WalkToLastAnswer(const Launched *run, HWND mainWindow, const char *libraryPath);
// Closes the main window and expects a clean exit; ends the program anyway.
bool CloseMainWindow(Launched *run, HWND mainWindow);
