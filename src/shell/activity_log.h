// The log list of the main window: the program's one progress report.
#pragma once
#include <windows.h>

extern LONG g_maxLogExtent;

int LogLine(const char *text);
