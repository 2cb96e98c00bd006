// Answering the program's open and save dialogs, which are the platform's
// own Explorer-style common dialogs: their file-name field is control
// 0x47C, a ComboBoxEx32 whose edit takes a full path.
#pragma once
#include "program_run.h"

// Waits for the dialog titled `title`, checks that its file-name field
// starts out as `initialName`, enters `path`, confirms with IDOK and waits
// for the dialog to go. False if any of that failed.
bool ChooseFileInDialog(const ProgramRun *run, const char *title, const char *initialName,
                        const char *path);
