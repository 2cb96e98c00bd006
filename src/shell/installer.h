// Entry and action loop, and the exit codes of its outcomes.
#pragma once
#include <windows.h>

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
    EXIT_REGISTERED_BROKEN = 12,
    EXIT_UNDO_INCOMPLETE = 13,
    EXIT_ALREADY_RUNNING = 1618
};

int InstallerMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);
