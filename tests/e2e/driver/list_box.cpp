#include <windows.h>
#include "list_box.h"

#define LIST_TIMEOUT_MS 2000
#define LIST_LINE_MAX   1024

int ListBoxCount(HWND list) {
    DWORD_PTR count = 0;
    if (!SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, LIST_TIMEOUT_MS, &count)) {
        return -1;
    }
    return (int)(LRESULT)count;
}

bool ListBoxLine(HWND list, int index, char *line, int size) {
    WCHAR wide[LIST_LINE_MAX];
    DWORD_PTR length = 0;

    line[0] = 0;
    if (!SendMessageTimeoutW(list, LB_GETTEXTLEN, index, 0, SMTO_ABORTIFHUNG, LIST_TIMEOUT_MS,
                             &length) ||
        (LRESULT)length < 0 || length >= LIST_LINE_MAX) {
        return false;
    }
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(list, LB_GETTEXT, index, (LPARAM)wide, SMTO_ABORTIFHUNG,
                             LIST_TIMEOUT_MS, &copied) ||
        (LRESULT)copied < 0 || copied > length) {
        return false;
    }
    wide[copied] = 0;
    int written = WideCharToMultiByte(1252, 0, wide, (int)copied + 1, line, size, NULL, NULL);
    if (written <= 0) {
        line[0] = 0;
        return false;
    }
    return true;
}
