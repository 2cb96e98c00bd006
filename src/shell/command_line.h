// The program's arguments: none opens the window; /s runs without it.
#pragma once
#include <windows.h>

struct CommandLine {
    int unattended; // /s: no window and no message box
    int reset;      // /u: the reset instead of the register request
    int help;       // /?
    int verify;     // /v: checks the registration, changing nothing
    char libraryPath[MAX_PATH];
    char copyFolder[MAX_PATH]; // /copy: where the library and its type library go
    char logFile[MAX_PATH];    // /log: appended with every line and box of the run
};

extern const char USAGE_TEXT[];

// Splits the arguments (the program's name not included) at blanks outside
// double quotes, which are removed. Returns 1 when they are well formed; 0 for an unknown switch, a
// missing or extra path, unbalanced quotes, a path of MAX_PATH bytes or more,
// /copy or /u without /s, or /v with a library, /copy or /u. Switches seen
// are recorded either way.
int ParseCommandLine(const char *text, struct CommandLine *out);
