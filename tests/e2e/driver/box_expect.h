// The steps of a conversation with the program's message boxes: wait for
// the next box, check what it says, answer it and see it go.
#pragma once
#include <windows.h>
#include "program_run.h"

// Waits for a visible box captioned `caption`, then checks its text and its
// buttons ("IDOK", "IDCANCEL IDYES IDNO"). NULL when none came.
HWND ExpectMessageBox(const ProgramRun *run, const char *caption, const char *text,
                      const char *buttons);
// Posts the answer and waits until the box is gone, so that the next box
// with the same caption cannot be mistaken for this one.
bool AnswerMessageBoxAndWait(HWND box, int buttonId);
// True once `window` is hidden or destroyed, within `timeoutMs`.
bool WaitWindowGone(HWND window, DWORD timeoutMs);
bool WaitWindowShown(HWND window, DWORD timeoutMs);
// No top-level dialog of the program other than `mainWindow` shows during
// `durationMs`.
void CheckNoBoxFor(const ProgramRun *run, HWND mainWindow, DWORD durationMs);
