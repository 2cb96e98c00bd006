// Start-up, the action loop and the end of the main window.
#include <windows.h>
#include "installer.h"
#include "command_line.h"
#include "main_window.h"
#include "../../res/resource.h"
#include "../install/library_selection.h"
#include "../install/version_query.h"
#include "../registration/registration.h"
#include "../operator/activity_log.h"
#include "../operator/dialogue.h"
#include "../operator/window_services.h"
#include "../companions/component_identity.h"
#include "../companions/libraries.h"

#define MESSAGE_SIZE 512

static const char ERROR_CAPTION[] = "E R R O";
static const UINT ERROR_BOX = MB_TOPMOST | MB_ICONERROR;

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

// Returns the outcome's exit code, which only an unattended run reports.
static int PerformReset(void) {
    char message[MESSAGE_SIZE];
    int outcome = ResetRegistration();
    if ((outcome & RESET_NOT_FOUND) == 0) {
        wsprintfA(message,
                  "Removido o registro da biblioteca   %s   como um   <C O M>  componente.",
                  COMPONENT_LIBRARY_FILE);
        ShowBox(message, COMPONENT_DESCRIPTION, MB_TOPMOST | MB_ICONWARNING);
    }
    return (outcome & RESET_INCOMPLETE) != 0 ? EXIT_RESET_INCOMPLETE : EXIT_DONE;
}

// Returns the outcome's exit code, which only an unattended run reports.
static int PerformRegister(char *libraryPath, char *versionText) {
    ShowWindow(g_hMainWnd, SW_HIDE);
    if (!SelectAndInstallLibrary(libraryPath))
        return EXIT_LIBRARY_REFUSED;
    const char *version = QueryLibraryVersion(libraryPath);
    if (version != NULL) {
        lstrcpynA(versionText, version, COMPONENT_VERSION_SIZE);
        ShowWindow(g_hMainWnd, SW_SHOWNORMAL);
        SetWindowTextA(GetDlgItem(g_hMainWnd, IDC_VERSION_TEXT), versionText);
    }
    LONG outcome = RegisterComponent(libraryPath);
    if (outcome == REGISTRATION_UNDO_INCOMPLETE)
        return EXIT_UNDO_INCOMPLETE;
    if (outcome != REGISTRATION_DONE && outcome != REGISTRATION_REGISTRAR_REFUSED)
        return EXIT_REGISTRATION_UNDONE;
    LogLine("D L L      R E G I S T R A D A !");
    return outcome == REGISTRATION_DONE ? EXIT_DONE : EXIT_REGISTRAR_REFUSED;
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

static int StartRegistrar(void) {
    static const char *const FAILURE_TEXTS[] = {
        NULL,
        "BIBLIOTECA REGQUORVALIS2.OCX NAO ENCONTRADA",
        "FUNCAO DllRegisterServer DA BIBLIOTECA REGQUORVALIS2.OCXNAO ENCONTRADA",
        "FUNCAO DllUnregisterServer DA BIBLIOTECA REGQUORVALIS2.OCXNAO ENCONTRADA",
    };
    enum RegistrarStatus status = LoadRegistrarLibrary();
    if (status == REGISTRAR_LOADED)
        return 1;
    LogCause(status == REGISTRAR_MISSING ? "LoadLibraryA" : "GetProcAddress",
             REGISTRAR_LIBRARY_FILE, GetLastError(), 0);
    ShowBox(FAILURE_TEXTS[status], ERROR_CAPTION, ERROR_BOX);
    return 0;
}

// The window's exit code is always 0: nobody waits for it.
static int RunWindow(void) {
    if (StartRegistrar() && CreateMainWindow(NULL)) {
        RunActionLoop();
        DestroyMainWindow();
    }
    FreeRegistrarLibrary();
    return EXIT_DONE;
}

// The check of the whole registration, its outcome logged in message (1024
// bytes); returns its exit code.
static int CheckRegistration(char *message) {
    static const int EXIT_CODES[] = {EXIT_DONE, EXIT_NOT_REGISTERED, EXIT_REGISTRATION_BROKEN};
    char firstBroken[MESSAGE_SIZE];
    int outcome = VerifyRegistration(firstBroken);
    if (outcome == VERIFY_INTACT)
        wsprintfA(message, "REGISTRO DE %s ÍNTEGRO.", COMPONENT_LIBRARY_FILE);
    else if (outcome == VERIFY_NOT_REGISTERED)
        wsprintfA(message, "%s NÃO ESTÁ REGISTRADA.", COMPONENT_LIBRARY_FILE);
    else
        wsprintfA(message, "REGISTRO DE %s INCOMPLETO:\r\n%.500s", COMPONENT_LIBRARY_FILE,
                  firstBroken);
    LogLine(message);
    return EXIT_CODES[outcome];
}

// The check's outcome in one box, which an unattended run only writes to the
// log file.
static int RunVerify(void) {
    char message[2 * MESSAGE_SIZE];
    int exitCode = CheckRegistration(message);
    ShowBox(message, COMPONENT_DESCRIPTION,
            MB_TOPMOST | (exitCode == EXIT_DONE ? MB_ICONINFORMATION : MB_ICONWARNING));
    return exitCode;
}

// The window's register request or reset, answered from the command line.
// A success is reported only when the check of the registration, as /v
// makes it, agrees: a component that cannot be loaded registers all the same.
static int RunUnattended(const struct CommandLine *options) {
    char libraryPath[MAX_PATH];
    char versionText[COMPONENT_VERSION_SIZE];
    char message[2 * MESSAGE_SIZE];
    if (!StartRegistrar())
        return EXIT_REGISTRAR_UNUSABLE;
    int exitCode = options->reset ? PerformReset() : PerformRegister(libraryPath, versionText);
    FreeRegistrarLibrary();
    if (!options->reset && exitCode == EXIT_DONE && CheckRegistration(message) != EXIT_DONE)
        exitCode = EXIT_REGISTERED_BROKEN;
    return exitCode;
}

// Two copies at once would write and delete the same keys interleaved.
// Returns 1 when another copy holds the mutex; otherwise *mutex is ours to
// close (null when it could not be made, and the run goes on unguarded).
static int AnotherCopyRuns(HANDLE *mutex) {
    *mutex = CreateMutexA(NULL, FALSE, INSTANCE_MUTEX_NAME);
    DWORD error = GetLastError();
    // One that another user made may not even be opened: it is there all the same.
    if (error != ERROR_ALREADY_EXISTS && !(*mutex == NULL && error == ERROR_ACCESS_DENIED))
        return 0;
    if (*mutex != NULL)
        CloseHandle(*mutex);
    return 1;
}

// The main window is of the system's dialog class; its title tells it apart.
static void BringFirstCopyToFront(void) {
    char title[MAIN_TITLE_SIZE];
    FormatMainTitle(title);
    HWND window = FindWindowA(WC_DIALOG, title);
    if (window != NULL)
        SetForegroundWindow(window);
}

static int RunGuarded(const struct CommandLine *options, const char *commandLine) {
    char message[MESSAGE_SIZE];
    if (options->logFile[0] != '\0' && !OpenLogFile(options->logFile, commandLine)) {
        wsprintfA(message, "NAO FOI POSSIVEL ABRIR O ARQUIVO DE LOG\r\n%.400s", options->logFile);
        ShowBox(message, ERROR_CAPTION, ERROR_BOX);
        return EXIT_LOG_NOT_WRITABLE;
    }
    int exitCode = options->verify       ? RunVerify()
                   : options->unattended ? RunUnattended(options)
                                         : RunWindow();
    CloseLogFile();
    return exitCode;
}

// A relative path would be registered as typed, and name another file from
// another folder; one made too long for a path is refused.
static int MakeFull(char *path) {
    char full[MAX_PATH];
    if (path[0] == '\0')
        return 1;
    DWORD length = GetFullPathNameA(path, MAX_PATH, full, NULL);
    if (length == 0 || length >= MAX_PATH)
        return 0;
    lstrcpyA(path, full);
    return 1;
}

int InstallerMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand) {
    struct CommandLine options;
    (void)previous;
    (void)showCommand;
    RestrictLibrarySearch();
    g_hInstance = instance;
    g_requestedAction = ACTION_NONE;
    int wellFormed = ParseCommandLine(commandLine, &options) && MakeFull(options.libraryPath) &&
                     MakeFull(options.copyFolder) && MakeFull(options.logFile);
    // An unattended run shows nothing, even when its line is refused.
    AnswerFromCommandLine(options.unattended ? options.libraryPath : NULL, options.copyFolder);
    if (!wellFormed || options.help) {
        ShowBox(USAGE_TEXT, "REGQuorvalis", MB_TOPMOST | MB_ICONINFORMATION);
        return EXIT_BAD_COMMAND_LINE;
    }
    HANDLE mutex;
    int exitCode = EXIT_ALREADY_RUNNING;
    if (!AnotherCopyRuns(&mutex)) {
        exitCode = RunGuarded(&options, commandLine);
        if (mutex != NULL)
            CloseHandle(mutex);
    } else if (!options.unattended) {
        BringFirstCopyToFront();
    }
    FreeSystemLibraries();
    return exitCode;
}
