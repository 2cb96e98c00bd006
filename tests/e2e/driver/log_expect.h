// Watching the program's log list fill up and comparing it line by line.
#pragma once
#include <windows.h>

// Waits until the list holds at least `count` lines; returns the count last
// seen (-1 when the list does not answer).
int WaitForLogCount(HWND list, int count, DWORD timeoutMs);
// Lines first .. first+count-1 equal `expected`, and no line follows them.
void CheckLogLines(HWND list, int first, const char *const *expected, int count);
// Writes the lines from index `first` on to the transcript, each after
// `prefix`.
void NoteLogLines(HWND list, int first, const char *prefix);
