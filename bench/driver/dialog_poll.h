// Seeing another process's dialogs and boxes appear, by polling: Wine 8
// delivers no out-of-context window events across processes, and has no
// reliable "input idle". Timed waits poll every millisecond; the others
// every 20 ms, to leave the machine to the program.
#pragma once
#include <windows.h>
#include "launched_process.h"

#define POLL_TIMED_MS   1
#define POLL_RELAXED_MS 20
#define WINDOW_WAIT_MS  15000

// A visible top-level dialog of the process whose title starts with
// `titlePrefix`; NULL when none shows now.
HWND FindShownDialog(DWORD processId, const char *titlePrefix);
// Polls until such a dialog shows; NULL on timeout or when the program ends.
HWND WaitShownDialog(const Launched *run, const char *titlePrefix, DWORD pollMs);
// True once `window` is hidden or destroyed.
bool WaitDialogGone(HWND window);
// The text of a message box (its static control 0xFFFF).
bool ReadBoxText(HWND box, char *text, int size);
// Posts the button's command as a click would send it; posted, so that a
// handler opening a modal window cannot block the driver.
bool PostButton(HWND dialog, int id);
