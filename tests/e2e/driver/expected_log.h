// The log lines of a registration and of a reset, as the operator reads
// them in the window's list (code page 1252).
#pragma once

#define REGISTRATION_LINE_COUNT 15
// A registration whose type library fails stops logging its own lines
// after "Register type lib ...".
#define REGISTRATION_LINES_BEFORE_TYPELIB 14
#define RESET_LINE_COUNT                  8
#define EMPTY_RESET_LINE_COUNT            2

struct RegistrationLines {
    char pathLine[512];
    const char *lines[REGISTRATION_LINE_COUNT];
};

// The fifteen lines of a successful registration of `libraryPath`.
void BuildRegistrationLines(const char *libraryPath, RegistrationLines *out);

// A reset that finds the layout, and one that finds nothing.
extern const char *const g_resetLines[RESET_LINE_COUNT];
extern const char *const g_emptyResetLines[EMPTY_RESET_LINE_COUNT];
