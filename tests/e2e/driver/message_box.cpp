#include <windows.h>
#include <string.h>
#include "message_box.h"

#define MESSAGE_BOX_TEXT_ID 0xFFFF

static BOOL CALLBACK CollectButton(HWND child, LPARAM param) {
    MessageBoxInfo *info = (MessageBoxInfo *)param;
    char className[32];
    className[0] = 0;
    GetClassNameA(child, className, sizeof className);
    if (lstrcmpiA(className, "Button") == 0 && IsWindowVisible(child) &&
        info->buttonCount < MESSAGE_BOX_MAX_BUTTONS) {
        info->buttonIds[info->buttonCount++] = GetDlgCtrlID(child);
    }
    return TRUE;
}

bool ReadMessageBox(HWND box, MessageBoxInfo *info) {
    memset(info, 0, sizeof *info);
    if (!IsWindow(box)) {
        return false;
    }
    GetWindowTextA(box, info->caption, sizeof info->caption);
    HWND text = GetDlgItem(box, MESSAGE_BOX_TEXT_ID);
    if (text != NULL) {
        GetWindowTextA(text, info->text, sizeof info->text);
    }
    EnumChildWindows(box, CollectButton, (LPARAM)info);
    return text != NULL;
}

bool MessageBoxHasButton(const MessageBoxInfo *info, int id) {
    for (int i = 0; i < info->buttonCount; ++i) {
        if (info->buttonIds[i] == id) {
            return true;
        }
    }
    return false;
}

// Standard command ids 1..11, by name.
static const char *const g_buttonNames[] = {
    "",      "IDOK", "IDCANCEL", "IDABORT", "IDRETRY",    "IDIGNORE",
    "IDYES", "IDNO", "IDCLOSE",  "IDHELP",  "IDTRYAGAIN", "IDCONTINUE",
};

// Names in id order, whatever the z order, so the text is stable.
void DescribeButtons(const MessageBoxInfo *info, char *text, int size) {
    char part[32];
    text[0] = 0;
    for (int id = 1; id <= 0xFFFF; ++id) {
        if (!MessageBoxHasButton(info, id)) {
            continue;
        }
        if (id <= IDCONTINUE) {
            lstrcpyA(part, g_buttonNames[id]);
        } else {
            wsprintfA(part, "id%d", id);
        }
        if (lstrlenA(text) + lstrlenA(part) + 2 > size) {
            break;
        }
        if (text[0] != 0) {
            lstrcatA(text, " ");
        }
        lstrcatA(text, part);
    }
}

bool AnswerMessageBox(HWND box, int buttonId) {
    HWND button = GetDlgItem(box, buttonId);
    return PostMessageA(box, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), (LPARAM)button) != 0;
}
