#include <windows.h>
#include <stdarg.h>
#include <stdio.h>
#include <string.h>
#include "check.h"

static int g_failures;
static bool g_snapshotTaken;

// The program's texts are code page 1252; the transcript is UTF-8 with
// control characters spelled out, so blanks and line breaks show.
static void PrintText(const char *text) {
    WCHAR wide[4096];
    int count = MultiByteToWideChar(1252, 0, text, -1, wide, 4096);
    if (count <= 0) {
        fputs("<unconvertible>", stdout);
        return;
    }
    for (int i = 0; wide[i] != 0; ++i) {
        WCHAR c = wide[i];
        if (c == L'\r') {
            fputs("\\r", stdout);
        } else if (c == L'\n') {
            fputs("\\n", stdout);
        } else if (c == L'\t') {
            fputs("\\t", stdout);
        } else if (c < 0x20) {
            printf("\\x%02X", (unsigned)c);
        } else {
            char utf8[8];
            int n = WideCharToMultiByte(CP_UTF8, 0, &c, 1, utf8, sizeof utf8, NULL, NULL);
            fwrite(utf8, 1, n, stdout);
        }
    }
}

static void PrintLine(const char *tag, const char *format, va_list args) {
    char line[4096];
    vsnprintf(line, sizeof line, format, args);
    line[sizeof line - 1] = 0;
    fputs(tag, stdout);
    PrintText(line);
    fputs("\n", stdout);
    fflush(stdout);
}

// run-case.sh takes a screenshot when it reads the first "[FAIL]" line and
// then creates the file named by QV_E2E_SNAPSHOT_DONE; the program is left
// as it is until then, so the picture shows the state that failed.
static void HoldForSnapshot(void) {
    char done[MAX_PATH];
    if (g_snapshotTaken) {
        return;
    }
    g_snapshotTaken = true;
    DWORD length = GetEnvironmentVariableA("QV_E2E_SNAPSHOT_DONE", done, sizeof done);
    if (length == 0 || length >= sizeof done) {
        return;
    }
    DWORD start = GetTickCount();
    while (GetFileAttributesA(done) == INVALID_FILE_ATTRIBUTES && GetTickCount() - start < 5000) {
        Sleep(50);
    }
}

static bool Report(bool ok, const char *format, ...) {
    va_list args;
    va_start(args, format);
    PrintLine(ok ? "[ok] " : "[FAIL] ", format, args);
    va_end(args);
    if (!ok) {
        ++g_failures;
        HoldForSnapshot();
    }
    return ok;
}

void CheckBegin(const char *caseName) {
    g_failures = 0;
    g_snapshotTaken = false;
    Note("case %s", caseName);
}

int CheckFailures(void) {
    return g_failures;
}

void Note(const char *format, ...) {
    va_list args;
    va_start(args, format);
    PrintLine("[..] ", format, args);
    va_end(args);
}

bool CheckTrue(bool ok, const char *what) {
    return Report(ok, "%s", what);
}

bool CheckText(const char *what, const char *expected, const char *actual) {
    if (strcmp(expected, actual) != 0) {
        return Report(false, "%s: expected \"%s\" got \"%s\"", what, expected, actual);
    }
    return Report(true, "%s: \"%s\"", what, actual);
}

bool CheckInt(const char *what, long expected, long actual) {
    if (expected != actual) {
        return Report(false, "%s: expected %ld got %ld", what, expected, actual);
    }
    return Report(true, "%s: %ld", what, actual);
}

bool CheckBits(const char *what, DWORD required, DWORD forbidden, DWORD actual) {
    DWORD missing = required & ~actual;
    DWORD unwanted = forbidden & actual;
    if (missing != 0 || unwanted != 0) {
        return Report(false,
                      "%s: expected bits 0x%08lX set and 0x%08lX clear, got 0x%08lX "
                      "(missing 0x%08lX, unwanted 0x%08lX)",
                      what, required, forbidden, actual, missing, unwanted);
    }
    return Report(true, "%s: 0x%08lX", what, actual);
}
