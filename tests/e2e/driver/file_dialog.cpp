#include <windows.h>
#include "file_dialog.h"
#include "box_expect.h"
#include "check.h"
#include "dialog_controls.h"
#include "program_under_test.h"
#include "window_search.h"

#define FILE_NAME_FIELD_ID 0x47C
#define SEND_TIMEOUT_MS    2000
#define DIALOG_GONE_MS     10000

struct EditSearch {
    HWND found;
};

static BOOL CALLBACK FindEdit(HWND child, LPARAM param) {
    char className[32];
    className[0] = 0;
    GetClassNameA(child, className, sizeof className);
    if (lstrcmpiA(className, "Edit") == 0) {
        ((EditSearch *)param)->found = child;
        return FALSE;
    }
    return TRUE;
}

// The field's text is its inner edit's: the combo box around it answers
// WM_GETTEXT differently across versions.
static void ReadFieldText(HWND field, char *text, int size) {
    EditSearch search = {NULL};
    EnumChildWindows(field, FindEdit, (LPARAM)&search);
    HWND source = search.found != NULL ? search.found : field;
    text[0] = 0;
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(source, WM_GETTEXT, size, (LPARAM)text, SMTO_ABORTIFHUNG,
                             SEND_TIMEOUT_MS, &copied)) {
        text[0] = 0;
    }
}

bool ChooseFileInDialog(const ProgramRun *run, const char *title, const char *initialName,
                        const char *path) {
    char what[512];
    wsprintfA(what, "the dialog \"%s\" appears", title);
    HWND dialog = ExpectProcessDialog(run, title, what);
    if (dialog == NULL) {
        return false;
    }
    HWND field = FindControl(dialog, FILE_NAME_FIELD_ID);
    if (!CheckTrue(field != NULL, "the dialog has its file-name field (0x47C)")) {
        return false;
    }
    char text[MAX_PATH];
    ReadFieldText(field, text, sizeof text);
    CheckText("the file-name field's first text", initialName, text);

    // WM_SETTEXT carries a pointer, so it is sent; the dialog handles it
    // without opening anything modal.
    DWORD_PTR result = 0;
    if (!CheckTrue(SendMessageTimeoutA(field, WM_SETTEXT, 0, (LPARAM)path, SMTO_ABORTIFHUNG,
                                       SEND_TIMEOUT_MS, &result) != 0,
                   "enter the path into the file-name field")) {
        return false;
    }
    ReadFieldText(field, text, sizeof text);
    CheckText("the file-name field now", path, text);
    HWND okButton = GetDlgItem(dialog, IDOK);
    wsprintfA(what, "confirm \"%s\" with IDOK", path);
    if (!CheckTrue(
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)okButton) != 0,
            what)) {
        return false;
    }
    if (!CheckTrue(WaitWindowGone(dialog, DIALOG_GONE_MS), "the dialog goes away")) {
        DescribeProcessWindows(run->processId);
        return false;
    }
    return true;
}
