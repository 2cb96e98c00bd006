// The main dialog: class registration, creation, its dialog procedure and
// centring.
#include <windows.h>
#include "main_window.h"
#include "../../res/resource.h"
#include "../operator/activity_log.h"
#include "../operator/dialogue.h"
#include "../operator/window_services.h"

#define VERSION_SIZE 128

ATOM g_classAtom;

static const char TITLE_FORMAT[] = "VORAN-Instalador 32 BITS <XP> biblioteca %s versão: ";
static const char TITLE_LIBRARY[] = "Quorvalis";

static int RegisterMainClass(void) {
    WNDCLASSEXA windowClass;
    windowClass.cbSize = sizeof(WNDCLASSEXA);
    windowClass.style = CS_VREDRAW | CS_HREDRAW;
    windowClass.lpfnWndProc = (WNDPROC)(void *)MainDialogProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = DLGWINDOWEXTRA;
    windowClass.hInstance = g_hInstance;
    windowClass.hIcon = LoadIconA(g_hInstance, MAKEINTRESOURCEA(IDI_MAIN));
    windowClass.hCursor = LoadCursorA(NULL, IDC_ARROW);
    windowClass.hbrBackground = (HBRUSH)GetStockObject(LTGRAY_BRUSH);
    windowClass.lpszMenuName = NULL;
    windowClass.lpszClassName = MAKEINTATOM(IDD_MAIN);
    windowClass.hIconSm = LoadIconA(g_hInstance, MAKEINTRESOURCEA(IDI_MAIN));

    ATOM atom = RegisterClassExA(&windowClass);
    if (atom != 0)
        g_classAtom = atom;
    // A second window in the same process finds the class already there.
    return g_classAtom != 0;
}

int CreateMainWindow(HWND parent) {
    HWND dialog = NULL;
    if (RegisterMainClass())
        dialog =
            CreateDialogParamA(g_hInstance, MAKEINTRESOURCEA(IDD_MAIN), parent, MainDialogProc, 0);
    if (dialog == NULL) {
        ShowBox("ERRO NA CRIAÇÃO DA JANELA !!!", "E R R O", MB_TOPMOST | MB_ICONERROR);
        return 0;
    }
    g_hMainWnd = dialog;
    ShowWindow(dialog, SW_SHOWNORMAL);
    UpdateWindow(dialog);
    return 1;
}

static void TrimLog(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_LOG_LIST);
    while ((LONG)SendMessageA(list, LB_GETCOUNT, 0, 0) >= LOG_MAX_LINES)
        SendMessageA(list, LB_DELETESTRING, 0, 0);
}

void FormatMainTitle(char *title) {
    char version[VERSION_SIZE];
    ReadProductStrings(g_hInstance, title, version);
    // Only the version reaches the title; the name read above is overwritten.
    wsprintfA(title, TITLE_FORMAT, TITLE_LIBRARY);
    lstrcatA(title, version);
}

static void InitMainDialog(HWND dialog) {
    char title[MAIN_TITLE_SIZE];

    SendMessageA(dialog, WM_SETICON, ICON_SMALL,
                 (LPARAM)LoadIconA(g_hInstance, MAKEINTRESOURCEA(IDI_MAIN)));
    FormatMainTitle(title);
    SetWindowTextA(dialog, title);
    SendMessageA(GetDlgItem(dialog, IDC_LOG_LIST), WM_SETFONT,
                 (WPARAM)GetStockObject(SYSTEM_FIXED_FONT), TRUE);
    CenterWindowOnScreen(dialog);
}

static void RecordCommand(WPARAM wParam) {
    switch (LOWORD(wParam)) {
    case IDOK:
    case IDC_REGISTER:
        g_requestedAction = ACTION_REGISTER;
        break;
    case IDC_RESET:
        g_requestedAction = ACTION_RESET;
        break;
    }
}

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    (void)lParam;
    TrimLog(dialog);
    switch (message) {
    case WM_CLOSE:
        g_closeRequested = 1;
        DestroyMainWindow();
        return TRUE;
    case WM_INITDIALOG:
        InitMainDialog(dialog);
        return TRUE;
    case WM_COMMAND:
        RecordCommand(wParam);
        return FALSE;
    }
    return FALSE;
}

void CenterWindowOnScreen(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    MoveWindow(window, x, y, width, height, FALSE);
}
