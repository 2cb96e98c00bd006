// Reading another process's list box. Across processes Wine 8 answers the
// ANSI LB_GETTEXT with the first character only, so lines are read wide and
// converted to code page 1252, the program's own.
#pragma once
#include <windows.h>

// Number of lines, or -1 when the list does not answer.
int ListBoxCount(HWND list);
// Line `index` into `line` (code page 1252); false if it cannot be read or
// does not fit.
bool ListBoxLine(HWND list, int index, char *line, int size);
