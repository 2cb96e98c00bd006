// Entry, action loop and the requests the main window records for it.
#pragma once
#include <windows.h>

enum { ACTION_NONE = 0, ACTION_REGISTER = 1, ACTION_RESET = 2 };

// Held while a copy runs. Global, so that copies other users start over
// Remote Desktop count too.
#define INSTANCE_MUTEX_NAME "Global\\REGQuorvalis.instalacao"

// Exit codes, one per class of outcome. 0, 1 and 3 are regsvr32's, but 3
// also stands for a missing entry (regsvr32's 4); 5 is a failed
// registration, here the program's own; 1618 is Windows Installer's
// "another installation is in progress".
enum {
    EXIT_DONE = 0,
    EXIT_BAD_COMMAND_LINE = 1,
    EXIT_REGISTRAR_UNUSABLE = 3,
    EXIT_REGISTRATION_UNDONE = 5,
    EXIT_LIBRARY_REFUSED = 6,
    EXIT_LOG_NOT_WRITABLE = 7,
    EXIT_REGISTRAR_REFUSED = 8,
    EXIT_RESET_INCOMPLETE = 9,
    EXIT_NOT_REGISTERED = 10,
    EXIT_REGISTRATION_BROKEN = 11,
    EXIT_ALREADY_RUNNING = 1618
};

extern LONG g_requestedAction;
extern LONG g_closeRequested;

int InstallerMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);
void DestroyMainWindow(void);
