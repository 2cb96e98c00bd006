// Reading and answering another process's message box. The text is the
// static control 0xFFFF, the caption the window text; the answer is a
// posted command, so the driver never blocks on the program.
#pragma once
#include <windows.h>

#define MESSAGE_BOX_MAX_BUTTONS 12

struct MessageBoxInfo {
    char caption[256];
    char text[1024];
    int buttonIds[MESSAGE_BOX_MAX_BUTTONS]; // visible buttons, in z order
    int buttonCount;
};

bool ReadMessageBox(HWND box, MessageBoxInfo *info);
bool MessageBoxHasButton(const MessageBoxInfo *info, int id);
// Writes the ids as names ("IDYES IDNO") for the transcript.
void DescribeButtons(const MessageBoxInfo *info, char *text, int size);
// Posts the button's command (IDOK, IDYES, ...), as a click would send it.
bool AnswerMessageBox(HWND box, int buttonId);
