// Reading a dialog's controls from outside: class, text, styles.
#pragma once
#include <windows.h>

struct ControlInfo {
    HWND window;
    char className[64];
    char text[512];
    DWORD style;
    DWORD exStyle;
};

// The direct child with this id. Only the low 16 bits count: a template's
// -1 may reach the window as 0xFFFF or as 0xFFFFFFFF.
HWND FindControl(HWND dialog, int id);
bool ReadControl(HWND dialog, int id, ControlInfo *info);
int CountControls(HWND dialog);
