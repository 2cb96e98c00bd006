// The least a program can do to show a dialog from a template: the baseline
// of the program's time to window. WM_CLOSE ends it.
#include <windows.h>

static INT_PTR CALLBACK EmptyDialogProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message == WM_CLOSE) {
        EndDialog(dialog, 0);
        return TRUE;
    }
    return message == WM_INITDIALOG;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return (int)DialogBoxParamA(instance, MAKEINTRESOURCEA(100), NULL, EmptyDialogProc, 0);
}
