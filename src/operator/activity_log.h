// The log list of the main window, the program's one progress report, and
// the log file of /log that keeps it after the window is gone.
#pragma once
#include <windows.h>

// The list keeps the newest lines; older ones are dropped first.
#define LOG_MAX_LINES 1024

extern LONG g_maxLogExtent;

int LogLine(const char *text);
// Opens the log file for appending (new: with a UTF-8 byte order mark) and
// writes the run's dated header line; returns 0 when it cannot, the file
// being a device or one a link leads to (file_guard.h) included.
int OpenLogFile(const char *path, const char *commandLine);
void CloseLogFile(void);
// A message box's caption and text in the log file, marked as shown or not.
void LogBox(const char *text, const char *caption, int shown);
// The cause of a failed system or COM call, in the log file only: the call,
// the key or file it worked on, its code (a Win32 error in decimal, an
// HRESULT in hex) and the system's text for it.
void LogCause(const char *call, const char *subject, DWORD code, int isHresult);
