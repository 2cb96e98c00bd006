#include <windows.h>
#include <string.h>
#include "dialog_controls.h"

struct ControlSearch {
    HWND dialog;
    WORD id;
    HWND found;
    int count;
};

static BOOL CALLBACK VisitControl(HWND child, LPARAM param) {
    ControlSearch *search = (ControlSearch *)param;
    if (GetParent(child) != search->dialog) {
        return TRUE;
    }
    ++search->count;
    if (search->found == NULL && LOWORD(GetWindowLongA(child, GWL_ID)) == search->id) {
        search->found = child;
    }
    return TRUE;
}

HWND FindControl(HWND dialog, int id) {
    ControlSearch search = {dialog, LOWORD(id), NULL, 0};
    EnumChildWindows(dialog, VisitControl, (LPARAM)&search);
    return search.found;
}

int CountControls(HWND dialog) {
    ControlSearch search = {dialog, 0, NULL, 0};
    EnumChildWindows(dialog, VisitControl, (LPARAM)&search);
    return search.count;
}

bool ReadControl(HWND dialog, int id, ControlInfo *info) {
    memset(info, 0, sizeof *info);
    info->window = FindControl(dialog, id);
    if (info->window == NULL) {
        return false;
    }
    GetClassNameA(info->window, info->className, sizeof info->className);
    GetWindowTextA(info->window, info->text, sizeof info->text);
    info->style = (DWORD)GetWindowLongA(info->window, GWL_STYLE);
    info->exStyle = (DWORD)GetWindowLongA(info->window, GWL_EXSTYLE);
    return true;
}
