// The one window of the program: a modeless dialog built from IDD_MAIN.
#pragma once
#include <windows.h>

extern ATOM g_classAtom;

#define MAIN_TITLE_SIZE 512

int CreateMainWindow(HWND parent);
// The window's title, with the program's version: MAIN_TITLE_SIZE bytes.
void FormatMainTitle(char *title);
INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
void CenterWindowOnScreen(HWND window);
