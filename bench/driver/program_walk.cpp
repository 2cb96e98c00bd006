#include <windows.h>
#include "program_walk.h"
#include "dialog_poll.h"
#include "program_texts.h"
#include "report_lines.h"
#include "component_identity.h"

#define SEND_TIMEOUT_MS 2000
#define EXIT_WAIT_MS    10000

HWND OpenMainWindow(const char *programPath, Launched *run) {
    if (!Launch(programPath, NULL, run)) {
        return NULL;
    }
    return WaitShownDialog(run, MAIN_TITLE_PREFIX, POLL_RELAXED_MS);
}

static bool PickFile(const Launched *run, const char *path) {
    HWND dialog = WaitShownDialog(run, OPEN_DIALOG_TITLE, POLL_RELAXED_MS);
    if (dialog == NULL) {
        return false;
    }
    HWND field = GetDlgItem(dialog, FILE_NAME_FIELD_ID);
    DWORD_PTR result = 0;
    // WM_SETTEXT carries a pointer, so it is sent; nothing modal follows it.
    if (field == NULL || !SendMessageTimeoutA(field, WM_SETTEXT, 0, (LPARAM)path, SMTO_ABORTIFHUNG,
                                              SEND_TIMEOUT_MS, &result)) {
        Note("cannot enter %s in the open dialog", path);
        return false;
    }
    return PostButton(dialog, IDOK) && WaitDialogGone(dialog);
}

HWND WalkToLastAnswer(const Launched *run, HWND mainWindow, const char *libraryPath) {
    if (!PostButton(mainWindow, IDC_REGISTER) || !PickFile(run, libraryPath)) {
        return NULL;
    }
    HWND question = WaitShownDialog(run, COMPONENT_DESCRIPTION, POLL_RELAXED_MS);
    if (question == NULL) {
        return NULL;
    }
    if (GetDlgItem(question, IDNO) == NULL) {
        char text[512];
        ReadBoxText(question, text, sizeof text);
        Note("expected the copy question, got \"%s\"", text);
        return NULL;
    }
    if (!PostButton(question, IDNO) || !WaitDialogGone(question)) {
        return NULL;
    }
    return WaitShownDialog(run, WARNING_CAPTION, POLL_RELAXED_MS);
}

bool CloseMainWindow(Launched *run, HWND mainWindow) {
    DWORD code = 1;
    bool clean =
        PostMessageA(mainWindow, WM_CLOSE, 0, 0) && WaitExit(run, EXIT_WAIT_MS, &code) && code == 0;
    if (!clean) {
        Note("the program did not end cleanly on WM_CLOSE");
    }
    EndLaunched(run);
    return clean;
}
