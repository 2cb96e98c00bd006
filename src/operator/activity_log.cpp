// Appends progress lines to the main window's log list and to the log file.
#include <windows.h>
#include "activity_log.h"
#include "file_guard.h"
#include "window_services.h"
#include "../../res/resource.h"

#define BORDER_ALLOWANCE 3
#define FILE_LINE_SIZE   1024
#define HEADER_SIZE      1024
#define NAME_SIZE        512
#define VERSION_SIZE     128

LONG g_maxLogExtent;
static HANDLE g_logFile = INVALID_HANDLE_VALUE;

// One entry of the log file: the ANSI text in UTF-8, with its own line
// breaks turned into blanks so that every entry is one line, ended by CRLF.
static void WriteFileLine(const char *prefix, const char *text) {
    char line[FILE_LINE_SIZE];
    WCHAR wide[FILE_LINE_SIZE];
    char utf8[FILE_LINE_SIZE * 3 + 2];
    DWORD written;
    if (g_logFile == INVALID_HANDLE_VALUE)
        return;
    lstrcpynA(line, prefix, FILE_LINE_SIZE);
    lstrcpynA(line + lstrlenA(line), text, FILE_LINE_SIZE - lstrlenA(line));
    for (char *c = line; *c != '\0'; c++)
        if (*c == '\r' || *c == '\n')
            *c = ' ';
    int bytes = 0;
    if (MultiByteToWideChar(CP_ACP, 0, line, -1, wide, FILE_LINE_SIZE) > 0)
        bytes = WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8, FILE_LINE_SIZE * 3, NULL, NULL);
    if (bytes <= 0)
        return;
    bytes--; // the terminator
    utf8[bytes++] = '\r';
    utf8[bytes++] = '\n';
    WriteFile(g_logFile, utf8, (DWORD)bytes, &written, NULL);
}

// Run elevated, an append to a device (a raw disk, a port, a console) could
// do real harm: only a file on a disk is a log file. The device namespaces
// are refused by name, but for \\?\C:\..., which names a file on a drive;
// the rest by the opened handle's type.
static int IsDevicePath(const char *path) {
    if (path[0] != '\\' || path[1] != '\\' || (path[2] != '.' && path[2] != '?') || path[3] != '\\')
        return 0;
    char letter = (char)(path[4] | 0x20);
    return path[2] == '.' || letter < 'a' || letter > 'z' || path[5] != ':' || path[6] != '\\';
}

int OpenLogFile(const char *path, const char *commandLine) {
    static const char BYTE_ORDER_MARK[] = "\xEF\xBB\xBF";
    char header[HEADER_SIZE];
    char name[NAME_SIZE];
    char version[VERSION_SIZE];
    SYSTEMTIME now;
    DWORD written;

    if (IsDevicePath(path))
        return 0;
    g_logFile = OpenFileToWrite(path, FILE_SHARE_READ);
    if (g_logFile == INVALID_HANDLE_VALUE)
        return 0;
    DWORD size = SetFilePointer(g_logFile, 0, NULL, FILE_END);
    if (GetFileType(g_logFile) != FILE_TYPE_DISK || size == INVALID_SET_FILE_POINTER ||
        (size == 0 && !WriteFile(g_logFile, BYTE_ORDER_MARK, 3, &written, NULL))) {
        CloseLogFile();
        return 0;
    }
    ReadProductStrings(g_hInstance, name, version);
    GetLocalTime(&now);
    // wsprintfA writes at most 1024 bytes; the precisions keep the end of the line.
    wsprintfA(
        header, "=== %.100s %.60s - %02u/%02u/%04u %02u:%02u:%02u - argumentos: %.600s ===", name,
        version, now.wDay, now.wMonth, now.wYear, now.wHour, now.wMinute, now.wSecond, commandLine);
    WriteFileLine("", header);
    return 1;
}

void CloseLogFile(void) {
    if (g_logFile != INVALID_HANDLE_VALUE)
        CloseHandle(g_logFile);
    g_logFile = INVALID_HANDLE_VALUE;
}

void LogBox(const char *text, const char *caption, int shown) {
    char entry[FILE_LINE_SIZE];
    wsprintfA(entry, "%.200s | %.700s", caption, text);
    WriteFileLine(shown ? "[mensagem exibida] " : "[mensagem não exibida] ", entry);
}

void LogCause(const char *call, const char *subject, DWORD code, int isHresult) {
    char text[FILE_LINE_SIZE];
    char entry[FILE_LINE_SIZE];
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL,
                                  code, 0, text, FILE_LINE_SIZE, NULL);
    while (length > 0 &&
           (text[length - 1] == '\r' || text[length - 1] == '\n' || text[length - 1] == ' '))
        length--;
    text[length] = '\0';
    wsprintfA(entry,
              isHresult ? "%s em %.300s: erro 0x%08lX - %.400s" : "%s em %.300s: erro %lu - %.400s",
              call, subject, code, length > 0 ? text : "sem descrição do sistema");
    WriteFileLine("[causa] ", entry);
}

// Widens the horizontal scroll range when this line is the widest so far; it
// never shrinks, so the operator can always scroll to an earlier long line.
static void WidenForLine(HWND list, const char *text) {
    HDC context = GetDC(list);
    // A fresh DC holds the system font, narrower than the list's fixed font
    // at high scaling: measured with it, long lines could not be scrolled to.
    HGDIOBJ listFont = (HGDIOBJ)SendMessageA(list, WM_GETFONT, 0, 0);
    HGDIOBJ previousFont = listFont != NULL ? SelectObject(context, listFont) : NULL;
    SIZE extent = {0, 0};
    if (GetTextExtentPoint32A(context, text, lstrlenA(text), &extent)) {
        LONG width = extent.cx + BORDER_ALLOWANCE * GetSystemMetrics(SM_CXBORDER);
        if (width > g_maxLogExtent) {
            g_maxLogExtent = width;
            SendMessageA(list, LB_SETHORIZONTALEXTENT, (WPARAM)width, 0);
        }
    }
    if (previousFont != NULL)
        SelectObject(context, previousFont);
    ReleaseDC(list, context);
}

int LogLine(const char *text) {
    WriteFileLine("", text);
    HWND list = GetDlgItem(g_hMainWnd, IDC_LOG_LIST);
    if (list != NULL) {
        while ((LONG)SendMessageA(list, LB_GETCOUNT, 0, 0) >= LOG_MAX_LINES)
            SendMessageA(list, LB_DELETESTRING, 0, 0);
        SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)text);
        WidenForLine(list, text);
    }
    return ProcessPendingMessages();
}
