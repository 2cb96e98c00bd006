// Entry, action loop and the window services the rest of the shell uses.
#pragma once
#include <windows.h>

enum { ACTION_NONE = 0, ACTION_REGISTER = 1, ACTION_RESET = 2 };

extern HINSTANCE g_hInstance;
extern HWND g_hMainWnd;
extern LONG g_requestedAction;
extern LONG g_closeRequested;

int InstallerMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);
int ProcessPendingMessages(void);
void DestroyMainWindow(void);
