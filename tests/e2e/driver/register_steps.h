// The operator's steps of a register request and of a reset, each checked
// against what the program shows before the next one is taken. A step
// returns false only when the conversation cannot go on (a window that
// never came or never went); failed checks are in the transcript.
#pragma once
#include "program_window.h"

#define REGISTER_LABEL "Registrar a DLL"
#define RESET_LABEL    "Zerar  Registro"

// Presses "Registrar a DLL", sees the window hide and picks `path` in the
// open dialog.
bool RequestRegistration(const ProgramWindow *program, const char *path);
// The copy question, answered with IDYES, IDNO or IDCANCEL.
bool AnswerCopyQuestion(const ProgramWindow *program, int answer);
// The warning about the library's dependencies, answered with OK.
bool AcknowledgeDependencies(const ProgramWindow *program);
// The success box over the shown window with the version, the fifteen
// lines of registering `libraryPath`; then OK and the closing line.
bool ExpectRegistrationSuccess(const ProgramWindow *program, const char *libraryPath);
// A refusal box (caption the description, OK only) with `text`; OK; the
// window is back with nothing logged.
bool ExpectRefusal(const ProgramWindow *program, const char *text);
// Presses "Zerar  Registro" after `linesBefore` log lines: the removal box
// over the eight reset lines; then OK.
bool ResetThroughButton(const ProgramWindow *program, int linesBefore);
