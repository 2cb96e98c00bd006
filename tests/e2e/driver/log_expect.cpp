#include <windows.h>
#include "log_expect.h"
#include "check.h"
#include "list_box.h"

#define POLL_MS  20
#define LINE_MAX 1024

int WaitForLogCount(HWND list, int count, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        int seen = ListBoxCount(list);
        if (seen >= count || GetTickCount() - start >= timeoutMs) {
            return seen;
        }
        Sleep(POLL_MS);
    }
}

void CheckLogLines(HWND list, int first, const char *const *expected, int count) {
    char what[64];
    char line[LINE_MAX];
    int total = ListBoxCount(list);
    if (!CheckInt("log lines", first + count, total)) {
        NoteLogLines(list, 0, "log: ");
    }
    for (int i = 0; i < count; ++i) {
        wsprintfA(what, "log line %d", first + i + 1);
        if (!ListBoxLine(list, first + i, line, sizeof line)) {
            line[0] = 0;
            Note("log line %d cannot be read", first + i + 1);
        }
        CheckText(what, expected[i], line);
    }
}

void NoteLogLines(HWND list, int first, const char *prefix) {
    char line[LINE_MAX];
    int total = ListBoxCount(list);
    for (int i = first; i < total; ++i) {
        if (!ListBoxLine(list, i, line, sizeof line)) {
            lstrcpyA(line, "<unreadable>");
        }
        Note("%s%s", prefix, line);
    }
}
