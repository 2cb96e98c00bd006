// The operator's side of every step: message boxes and file dialogs in the
// window, or in an unattended run the answers the command line gave. Either
// way each box is written to the log file, marked as shown or not.
#pragma once
#include <windows.h>
#include <commdlg.h>

// With a libraryPath no box or dialog is shown from now on: the open dialog
// picks libraryPath, the copy question is answered Yes with copyFolder (No
// when it is empty). Without one, the operator answers.
void AnswerFromCommandLine(const char *libraryPath, const char *copyFolder);
int ShowBox(const char *text, const char *caption, UINT type);
BOOL AskOpenFileName(OPENFILENAMEA *dialog);
BOOL AskSaveFileName(OPENFILENAMEA *dialog);
