// The window and instance handles that boxes, dialogs and the log list work
// with, and the message pump that keeps the window answering while a step
// runs. The shell sets the handles at start-up and as it makes and destroys
// the main window; the layers below only read them.
#pragma once
#include <windows.h>

extern HINSTANCE g_hInstance;
extern HWND g_hMainWnd;

// Dispatches what is queued for the main window; 1 when WM_QUIT was taken.
int ProcessPendingMessages(void);
// ProductName and ProductVersion of the program's own version block.
void ReadProductStrings(HINSTANCE instance, char *name, char *version);
