#include <windows.h>
#include "box_expect.h"
#include "check.h"
#include "message_box.h"
#include "program_under_test.h"
#include "window_search.h"

#define POLL_MS     20
#define BOX_GONE_MS 5000

HWND ExpectMessageBox(const ProgramRun *run, const char *caption, const char *text,
                      const char *buttons) {
    char what[512];
    wsprintfA(what, "a box captioned \"%s\" appears", caption);
    HWND box = ExpectProcessDialog(run, caption, what);
    if (box == NULL) {
        return NULL;
    }
    MessageBoxInfo info;
    CheckTrue(ReadMessageBox(box, &info), "the box has a text control (0xFFFF)");
    CheckText("box text", text, info.text);
    char shown[128];
    DescribeButtons(&info, shown, sizeof shown);
    CheckText("box buttons", buttons, shown);
    return box;
}

bool AnswerMessageBoxAndWait(HWND box, int buttonId) {
    if (!CheckTrue(AnswerMessageBox(box, buttonId), "post the answer to the box")) {
        return false;
    }
    return CheckTrue(WaitWindowGone(box, BOX_GONE_MS), "the box goes away after the answer");
}

bool WaitWindowGone(HWND window, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (IsWindow(window) && IsWindowVisible(window)) {
        if (GetTickCount() - start >= timeoutMs) {
            return false;
        }
        Sleep(POLL_MS);
    }
    return true;
}

bool WaitWindowShown(HWND window, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (!IsWindowVisible(window)) {
        if (!IsWindow(window) || GetTickCount() - start >= timeoutMs) {
            return false;
        }
        Sleep(POLL_MS);
    }
    return true;
}

struct OtherDialog {
    DWORD processId;
    HWND mainWindow;
    HWND found;
};

static BOOL CALLBACK FindOtherDialog(HWND window, LPARAM param) {
    OtherDialog *search = (OtherDialog *)param;
    DWORD owner = 0;
    char className[64];
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || window == search->mainWindow || !IsWindowVisible(window)) {
        return TRUE;
    }
    className[0] = 0;
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpA(className, DIALOG_CLASS) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

void CheckNoBoxFor(const ProgramRun *run, HWND mainWindow, DWORD durationMs) {
    DWORD start = GetTickCount();
    OtherDialog search = {run->processId, mainWindow, NULL};
    do {
        EnumWindows(FindOtherDialog, (LPARAM)&search);
        if (search.found != NULL) {
            break;
        }
        Sleep(POLL_MS);
    } while (GetTickCount() - start < durationMs);
    char what[128];
    wsprintfA(what, "no box appears within %lu ms", durationMs);
    if (!CheckTrue(search.found == NULL, what)) {
        MessageBoxInfo info;
        ReadMessageBox(search.found, &info);
        Note("a box appeared: caption \"%s\" text \"%s\"", info.caption, info.text);
    }
}
