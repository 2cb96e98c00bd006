// The work the program cannot skip before its window, and nothing more: the
// registrar library loaded with its two entries, then the window the operator
// must see (see the resource script) with its small icon, its log's fixed
// font, and the product version of its own version block (read through
// version.dll loaded from the system folder) in its title. The baseline of
// the program's time to window that no cut can beat.
#include <windows.h>

typedef DWORD(WINAPI *SizeEntry)(LPCSTR, LPDWORD);
typedef BOOL(WINAPI *InfoEntry)(LPCSTR, DWORD, DWORD, LPVOID);
typedef BOOL(WINAPI *ValueEntry)(LPCVOID, LPCSTR, LPVOID *, PUINT);

static void ShowVersionInTitle(HWND dialog) {
    char library[MAX_PATH], self[MAX_PATH], title[512] = "Janela vazia versão: ";
    static char block[4096];
    DWORD handle = 0;
    void *text = NULL;
    UINT length = 0;
    GetSystemDirectoryA(library, MAX_PATH);
    lstrcatA(library, "\\version.dll");
    HMODULE version = LoadLibraryExA(library, NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
    SizeEntry size = (SizeEntry)(void *)GetProcAddress(version, "GetFileVersionInfoSizeA");
    InfoEntry info = (InfoEntry)(void *)GetProcAddress(version, "GetFileVersionInfoA");
    ValueEntry value = (ValueEntry)(void *)GetProcAddress(version, "VerQueryValueA");
    GetModuleFileNameA(NULL, self, MAX_PATH);
    if (size != NULL && info != NULL && value != NULL && size(self, &handle) <= sizeof block &&
        info(self, handle, sizeof block, block) &&
        value(block, "\\StringFileInfo\\041604b0\\ProductVersion", &text, &length))
        lstrcatA(title, (const char *)text);
    SetWindowTextA(dialog, title);
}

static INT_PTR CALLBACK RequiredWorkProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message == WM_CLOSE) {
        EndDialog(dialog, 0);
        return TRUE;
    }
    if (message == WM_INITDIALOG) {
        SendMessageA(dialog, WM_SETICON, ICON_SMALL,
                     (LPARAM)LoadIconA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(100)));
        SendDlgItemMessageA(dialog, 1007, WM_SETFONT, (WPARAM)GetStockObject(SYSTEM_FIXED_FONT),
                            TRUE);
        ShowVersionInTitle(dialog);
    }
    return message == WM_INITDIALOG;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    HMODULE registrar = LoadLibraryA("REGQUORVALIS2.OCX");
    if (registrar == NULL || GetProcAddress(registrar, "DllRegisterServer") == NULL ||
        GetProcAddress(registrar, "DllUnregisterServer") == NULL)
        return 1;
    return (int)DialogBoxParamA(instance, MAKEINTRESOURCEA(100), NULL, RequiredWorkProc, 0);
}
