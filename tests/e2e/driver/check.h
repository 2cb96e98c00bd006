// Transcript and assertions of one test case: one line per step, "[ok]" or
// "[FAIL]", and a failure count that decides the driver's exit code.
#pragma once
#include <windows.h>

void CheckBegin(const char *caseName);
int CheckFailures(void);

// Informational line ("[..] ...") in printf form.
void Note(const char *format, ...);

bool CheckTrue(bool ok, const char *what);
// Texts are code page 1252, compared byte for byte.
bool CheckText(const char *what, const char *expected, const char *actual);
bool CheckInt(const char *what, long expected, long actual);
// Every bit of `required` must be set and every bit of `forbidden` clear.
bool CheckBits(const char *what, DWORD required, DWORD forbidden, DWORD actual);
