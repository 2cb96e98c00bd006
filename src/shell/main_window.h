// The one window of the program: a modeless dialog built from IDD_MAIN.
#pragma once
#include <windows.h>

extern ATOM g_classAtom;

int CreateMainWindow(HWND parent);
INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
void CenterWindowOnScreen(HWND window);
