// The window and instance handles that boxes, dialogs and the log list work
// with, the message pump that keeps the window answering while a step runs,
// and the requests that the window's procedure and the action loop share.
// The shell sets the handles at start-up and as it makes and destroys the
// main window; the layers below only read them.
#pragma once
#include <windows.h>

extern HINSTANCE g_hInstance;
extern HWND g_hMainWnd;

// What the operator asked for, set by the window's procedure and acted on by
// the action loop.
enum { ACTION_NONE = 0, ACTION_REGISTER = 1, ACTION_RESET = 2 };
extern LONG g_requestedAction;
extern LONG g_closeRequested;

// Destroys the main window, if there is one, and forgets its handle.
void DestroyMainWindow(void);

// Dispatches what is queued for the main window; 1 when WM_QUIT was taken.
int ProcessPendingMessages(void);
// ProductName and ProductVersion of the program's own version block.
void ReadProductStrings(HINSTANCE instance, char *name, char *version);
