// Start-up, the action loop and the two window services of the shell.
#include <windows.h>
#include "installer.h"
#include "activity_log.h"
#include "main_window.h"
#include "../../res/resource.h"
#include "../install/library_selection.h"
#include "../install/version_query.h"
#include "../registration/component_identity.h"
#include "../registration/registration.h"

#define MESSAGE_SIZE 512

static const char ERROR_CAPTION[] = "E R R O";
static const UINT ERROR_BOX = MB_TOPMOST | MB_ICONERROR;

HINSTANCE g_hInstance;
HWND g_hMainWnd;
HMODULE g_hRegistrarLibrary;
RegistrarEntry g_pfnRegistrarRegister;
RegistrarEntry g_pfnRegistrarUnregister;
LONG g_requestedAction;
LONG g_closeRequested;

static RegistrarEntry FindRegistrarEntry(const char *name, const char *missingText) {
    RegistrarEntry entry = (RegistrarEntry)(void *)GetProcAddress(g_hRegistrarLibrary, name);
    if (entry == NULL) {
        MessageBoxA(NULL, missingText, ERROR_CAPTION, ERROR_BOX);
        FreeLibrary(g_hRegistrarLibrary);
    }
    return entry;
}

static int LoadRegistrarLibrary(void) {
    g_hRegistrarLibrary = LoadLibraryA(REGISTRAR_LIBRARY_FILE);
    if (g_hRegistrarLibrary == NULL) {
        MessageBoxA(NULL, "BIBLIOTECA REGQUORVALIS2.OCX NAO ENCONTRADA", ERROR_CAPTION, ERROR_BOX);
        return 0;
    }
    g_pfnRegistrarRegister = FindRegistrarEntry(
        REGISTRAR_REGISTER_EXPORT,
        "FUNCAO DllRegisterServer DA BIBLIOTECA REGQUORVALIS2.OCXNAO ENCONTRADA");
    if (g_pfnRegistrarRegister == NULL)
        return 0;
    g_pfnRegistrarUnregister = FindRegistrarEntry(
        REGISTRAR_UNREGISTER_EXPORT,
        "FUNCAO DllUnregisterServer DA BIBLIOTECA REGQUORVALIS2.OCXNAO ENCONTRADA");
    return g_pfnRegistrarUnregister != NULL;
}

// Blocks only when there is nothing to do: requests are set solely by message
// handling, so an empty queue with nothing pending can only change with a new
// message. Polling instead would burn a whole core while the window is idle.
static void WaitForRequest(void) {
    for (;;) {
        ProcessPendingMessages();
        if (g_closeRequested || g_requestedAction != ACTION_NONE)
            return;
#ifndef QV_BUSY_WAIT
        WaitMessage();
#endif
    }
}

static void PerformReset(void) {
    char message[MESSAGE_SIZE];
    if (ResetRegistration() != 0)
        return;
    wsprintfA(message, "Removido o registro da biblioteca   %s   como um   <C O M>  componente.",
              COMPONENT_LIBRARY_FILE);
    MessageBoxA(NULL, message, COMPONENT_DESCRIPTION, MB_TOPMOST | MB_ICONWARNING);
}

static void PerformRegister(char *libraryPath, char *versionText) {
    ShowWindow(g_hMainWnd, SW_HIDE);
    if (!SelectAndInstallLibrary(libraryPath))
        return;
    const char *version = QueryLibraryVersion(libraryPath);
    if (version != NULL) {
        lstrcpynA(versionText, version, COMPONENT_VERSION_SIZE);
        ShowWindow(g_hMainWnd, SW_SHOWNORMAL);
        SetWindowTextA(GetDlgItem(g_hMainWnd, IDC_VERSION_TEXT), versionText);
    }
    if (RegisterComponent(libraryPath) == 0)
        LogLine("D L L      R E G I S T R A D A !");
}

static void RunActionLoop(void) {
    char libraryPath[MAX_PATH];
    char versionText[COMPONENT_VERSION_SIZE];
    libraryPath[0] = '\0';
    versionText[0] = '\0';
    for (;;) {
        g_requestedAction = ACTION_NONE;
        ShowWindow(g_hMainWnd, SW_SHOWNORMAL);
        WaitForRequest();
        if (g_closeRequested)
            return;
        if (g_requestedAction == ACTION_RESET)
            PerformReset();
        else
            PerformRegister(libraryPath, versionText);
    }
}

int InstallerMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand) {
    (void)previous;
    (void)commandLine;
    (void)showCommand;
    if (!LoadRegistrarLibrary())
        return 0;
    g_hInstance = instance;
    g_requestedAction = ACTION_NONE;
    if (!CreateMainWindow(NULL)) {
        FreeLibrary(g_hRegistrarLibrary);
        return 0;
    }
    RunActionLoop();
    DestroyMainWindow();
    FreeLibrary(g_hRegistrarLibrary);
    return 0;
}

int ProcessPendingMessages(void) {
    MSG message;
    while (PeekMessageA(&message, g_hMainWnd, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT)
            return 1;
        if (g_hMainWnd != NULL && IsDialogMessageA(g_hMainWnd, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}

void DestroyMainWindow(void) {
    if (g_hMainWnd == NULL)
        return;
    DestroyWindow(g_hMainWnd);
    g_hMainWnd = NULL;
}
