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
#include "../companions/libraries.h"

#define MESSAGE_SIZE 512

HINSTANCE g_hInstance;
HWND g_hMainWnd;
LONG g_requestedAction;
LONG g_closeRequested;

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
    RestrictLibrarySearch();
    if (!LoadRegistrarLibrary())
        return 0;
    g_hInstance = instance;
    g_requestedAction = ACTION_NONE;
    if (CreateMainWindow(NULL)) {
        RunActionLoop();
        DestroyMainWindow();
    }
    FreeRegistrarLibrary();
    FreeSystemLibraries();
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
