// qv-drive SCRIPT [CASE...]: runs case scripts against the 32-bit program under
// Wine. It drives the program through its window, boxes and file dialogs, and
// checks the registry, the trace file of its test variant and a real COM
// client. It is 64-bit because only a 64-bit process can start the 32-bit
// program here.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include "component_identity.h"
#include "resource.h"

#define TEXT_MAX   4096
#define MAX_ARGS   16
#define MAX_NAMES  64
#define MAX_PROCS  16
#define FILE_MAX   (1 << 21)
#define TRACE_PATH "C:\\qv\\trace.txt"
#define CLASSES    "Software\\Classes\\"
#define NAME_CHARS "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_"

struct Proc {
    HANDLE handle;
    DWORD pid;
    int traceStart; // trace lines written before it started
    bool settled;   // its exit was checked, or it was killed
};
struct Lines {
    char text[3 * FILE_MAX];
    char *line[FILE_MAX]; // a line takes a byte at least of a file read of FILE_MAX at most
    int count;
};
struct Command {
    const char *name;
    int minArgs, maxArgs; // maxArgs > 1: the arguments are split at " | "
    const char *words;    // " a b ": the words the last argument may be, if not any text
    int mode;             // tells apart the commands that share a function
    bool (*run)(char **args, int count, int mode);
};

static const char *g_script, *g_text, *g_next; // the script; the line after the one that runs
static const char *g_macroBody[MAX_NAMES];
static char g_shown[TEXT_MAX], g_caseName[TEXT_MAX], g_cwd[TEXT_MAX], g_fault[TEXT_MAX];
static char g_varName[MAX_NAMES][64], g_varValue[MAX_NAMES][TEXT_MAX], g_macroName[MAX_NAMES][64];
static char g_clsid[GUID_TEXT_SIZE], g_libid[GUID_TEXT_SIZE];
// As the program names them: ProgID, class, type library, the sample registrar's records.
static char g_keys[4][MAX_PATH];
static int g_line, g_cases, g_failedCases, g_exitCode, g_varCount, g_procCount, g_macroCount;
static int g_traceCursor, g_logCursor, g_nameCount, g_depth, g_paramCount;
static bool g_dry, g_selected, g_inCase, g_failed, g_logFromFile, g_skipping, g_nameSeen[64];
static char **g_names, **g_params;
static Proc g_procs[MAX_PROCS];
static WCHAR *g_driverEnvironment;
static HWND g_main;
static Lines g_trace, g_logFile;

// A short-lived UTF-16 copy for an API argument; a few may be alive at once.
static const WCHAR *W(const char *text) {
    static WCHAR ring[6][TEXT_MAX];
    static int next;
    WCHAR *out = ring[next++ % 6];
    MultiByteToWideChar(CP_UTF8, 0, text, -1, out, TEXT_MAX);
    return out;
}

static char *Utf8(const WCHAR *text, char *out) {
    if (WideCharToMultiByte(CP_UTF8, 0, text, -1, out, TEXT_MAX, NULL, NULL) == 0)
        out[0] = 0;
    return out;
}

static char *WindowText(HWND window, char *out) {
    WCHAR wide[TEXT_MAX] = L"";
    GetWindowTextW(window, wide, TEXT_MAX);
    return Utf8(wide, out);
}

static bool Fail(const char *format, ...) {
    char message[4 * TEXT_MAX];
    int used = snprintf(message, sizeof message, "[FAIL] %s:%d: %s -- ", g_script, g_line, g_shown);
    va_list args;
    va_start(args, format);
    vsnprintf(message + used, sizeof message - used, format, args);
    va_end(args);
    // One line per failure: line breaks show as the script writes them.
    for (const char *p = message; *p != 0; ++p)
        printf(*p == '\r' ? "{CR}" : *p == '\n' ? "{LF}" : "%.1s", p);
    putchar('\n');
    g_failed = true;
    g_exitCode = 1;
    return false;
}

static void Misuse(const char *format, const char *detail) {
    printf("%s:%d: ", g_script, g_line);
    printf(format, detail);
    putchar('\n');
    exit(2);
}

// '*' matches any run of characters.
static bool Glob(const char *pattern, const char *text) {
    if (*pattern == '*')
        return Glob(pattern + 1, text) || (*text != 0 && Glob(pattern, text + 1));
    return *pattern == *text && (*text == 0 || Glob(pattern + 1, text + 1));
}

static void MapBreaks(char *text) {
    char *out = text;
    for (char *in = text; *in != 0; ++out) {
        bool escape = strncmp(in, "{CR}", 4) == 0 || strncmp(in, "{LF}", 4) == 0;
        *out = escape ? (in[1] == 'C' ? '\r' : '\n') : *in;
        in += escape ? 4 : 1;
    }
    *out = 0;
}

static void SplitLines(Lines *lines, char *p) {
    for (lines->count = 0; *p != 0; ++p) {
        char *start = lines->line[lines->count++] = p;
        p += strcspn(p, "\n");
        if (p > start && p[-1] == '\r')
            p[-1] = 0;
        if (*p == 0)
            break;
        *p = 0;
    }
}

// The file's length, -1 if it is missing, -2 if it cannot be read in full.
static int ReadWhole(const char *path, char *buffer, int size) {
    DWORD got = 0;
    HANDLE file = CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND ? -1 : -2;
    BOOL read = ReadFile(file, buffer, size - 1, &got, NULL);
    CloseHandle(file);
    buffer[got] = 0;
    return read && (int)got < size - 1 ? (int)got : -2;
}

// ---- the case's programs

static bool Alive(int i) {
    return WaitForSingleObject(g_procs[i].handle, 0) == WAIT_TIMEOUT;
}

static bool AnyAlive(void) {
    bool alive = false;
    for (int i = 0; i < g_procCount; ++i)
        alive = alive || Alive(i);
    return alive;
}

static Proc *ProcOf(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    for (int i = 0; i < g_procCount; ++i)
        if (g_procs[i].pid == pid && window != NULL)
            return &g_procs[i];
    return NULL;
}

// Sleeps a poll interval; false once the time is up or the case's programs have all ended.
static bool KeepWaiting(DWORD start, DWORD ms) {
    return GetTickCount() - start < ms && AnyAlive() && SleepEx(50, FALSE) == 0;
}

// What the case's programs show, for a report on what was not found.
static const char *Seen(void) {
    static char out[TEXT_MAX];
    char title[TEXT_MAX], text[TEXT_MAX];
    DWORD code = 0;
    lstrcpyA(out, "shown:");
    for (HWND window = NULL; (window = FindWindowExW(NULL, window, NULL, NULL)) != NULL;)
        if (IsWindowVisible(window) && ProcOf(window) != NULL)
            snprintf(out + strlen(out), TEXT_MAX - strlen(out), " [%s | %s]",
                     WindowText(window, title), WindowText(GetDlgItem(window, 0xFFFF), text));
    if (g_procCount > 0 && !AnyAlive() &&
        GetExitCodeProcess(g_procs[g_procCount - 1].handle, &code))
        snprintf(out + strlen(out), TEXT_MAX - strlen(out), " (the program ended: %lu)", code);
    return out;
}

// ---- the trace

// The whole trace, again: code page 1252, CR LF lines, line breaks inside a
// line written {CR}/{LF}. The program appends to it while it runs.
static bool ReadTrace(void) {
    static char raw[FILE_MAX];
    static WCHAR wide[FILE_MAX];
    int length = ReadWhole(TRACE_PATH, raw, FILE_MAX);
    int chars = length > 0 ? MultiByteToWideChar(1252, 0, raw, length, wide, FILE_MAX) : 0;
    char *text = g_trace.text;
    text[WideCharToMultiByte(CP_UTF8, 0, wide, chars, text, 3 * FILE_MAX - 1, NULL, NULL)] = 0;
    SplitLines(&g_trace, text);
    for (int i = 0; i < g_trace.count; ++i)
        MapBreaks(g_trace.line[i]);
    return length >= -1 || Fail("cannot read the trace, or it is over %d bytes", FILE_MAX);
}

// The first trace line at or after the cursor that matches: -1 if none, -2 if unreadable.
static int FindTrace(const char *pattern) {
    if (!ReadTrace())
        return -2;
    for (int i = g_traceCursor; i < g_trace.count; ++i)
        if (Glob(pattern, g_trace.line[i]))
            return i;
    return -1;
}

// Waits for the line and moves the cursor past it; else reports the next line of its kind.
static bool TakeTrace(const char *pattern) {
    int found = FindTrace(pattern), next = g_traceCursor;
    for (DWORD start = GetTickCount(); found == -1 && KeepWaiting(start, 30000);)
        found = FindTrace(pattern);
    size_t word = strcspn(pattern, " *");
    while (next < g_trace.count && strncmp(g_trace.line[next], pattern, word + 1) != 0)
        ++next;
    if (found == -1)
        return Fail("none from line %d of %d; the next of its kind: %s", g_traceCursor + 1,
                    g_trace.count, next < g_trace.count ? g_trace.line[next] : "none");
    g_traceCursor = found >= 0 ? found + 1 : g_traceCursor;
    return found >= 0;
}

// trace, and notrace (mode 1).
static bool CmdTrace(char **args, int, int absent) {
    if (!absent)
        return TakeTrace(args[0]);
    int found = FindTrace(args[0]);
    return found == -1 || (found >= 0 && Fail("line %d is %s", found + 1, g_trace.line[found]));
}

// start, and run (mode 1), which waits for the end.
static bool CmdStart(char **args, int count, int wait) {
    static WCHAR commandLine[2 * TEXT_MAX];
    char line[2 * TEXT_MAX];
    snprintf(line, sizeof line, "\"%s\"%s%s", g_varValue[0], count > 0 ? " " : "",
             count > 0 ? args[0] : "");
    MultiByteToWideChar(CP_UTF8, 0, line, -1, commandLine, 2 * TEXT_MAX);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info;
    SetEnvironmentVariableW(L"QV_FAIL", g_fault[0] != 0 ? W(g_fault) : NULL);
    BOOL started = g_procCount < MAX_PROCS && CreateProcessW(NULL, commandLine, NULL, NULL, FALSE,
                                                             0, NULL, W(g_cwd), &startup, &info);
    SetEnvironmentVariableW(L"QV_FAIL", NULL);
    g_fault[0] = 0;
    if (!started)
        return Fail("cannot start it (error %lu, %d programs)", GetLastError(), g_procCount);
    CloseHandle(info.hThread);
    ReadTrace();
    g_procs[g_procCount++] = {info.hProcess, info.dwProcessId, g_trace.count, false};
    return !wait || WaitForSingleObject(info.hProcess, 90000) == WAIT_OBJECT_0 ||
           Fail("it still runs after 90 s; %s", Seen());
}

static bool CmdKill(char **, int, int) {
    for (int i = 0; i < g_procCount; ++i) {
        if (Alive(i) && TerminateProcess(g_procs[i].handle, 1))
            WaitForSingleObject(g_procs[i].handle, 5000);
        g_procs[i].settled = true;
    }
    return true;
}

static bool CmdExit(char **args, int, int) {
    int i = g_procCount - 1;
    while (i >= 0 && g_procs[i].settled)
        --i;
    DWORD code = 0;
    if (i < 0 || WaitForSingleObject(g_procs[i].handle, 90000) != WAIT_OBJECT_0)
        return Fail("no program ended within 90 s; %s", Seen());
    g_procs[i].settled = GetExitCodeProcess(g_procs[i].handle, &code);
    if (code != (DWORD)strtoll(args[0], NULL, 10) && strcmp(args[0], "*") != 0)
        return Fail("exit code %lu", code);
    const char *balance = NULL;
    if (!ReadTrace())
        return false;
    for (int line = g_procs[i].traceStart; line < g_trace.count; ++line)
        balance = strncmp(g_trace.line[line], "BALANCE ", 8) == 0 ? g_trace.line[line] : balance;
    return balance == NULL || strcmp(balance, "BALANCE keys=0 modules=0 dcs=0 files=0") == 0 ||
           Fail("it left open: %s", balance);
}

// ---- files and settings

static bool CmdFolder(char **args, int count, int) {
    WCHAR folder[MAX_PATH + 1] = L""; // SHFileOperation takes a list ending in two zeros
    char target[TEXT_MAX];
    lstrcpynW(folder, W(args[0]), MAX_PATH);
    SHFILEOPSTRUCTW remove = {NULL, FO_DELETE, folder, NULL, FOF_NO_UI, FALSE, NULL, NULL};
    SHFileOperationW(&remove); // a missing folder is fine
    int made = SHCreateDirectoryExW(NULL, folder, NULL);
    for (int i = 1; i < count && made == ERROR_SUCCESS; ++i) {
        const char *name = strrchr(args[i], '\\');
        snprintf(target, sizeof target, "%s\\%s", args[0], name != NULL ? name + 1 : args[i]);
        if (!CopyFileW(W(args[i]), W(target), FALSE))
            return Fail("cannot copy %s (error %lu)", args[i], GetLastError());
    }
    return made == ERROR_SUCCESS || Fail("cannot make it an empty folder (error %d)", made);
}

static bool CmdCopy(char **args, int, int) {
    return CopyFileW(W(args[0]), W(args[1]), FALSE) || Fail("error %lu", GetLastError());
}

static bool CmdDelete(char **args, int, int) {
    DWORD error = DeleteFileW(W(args[0])) ? 0 : GetLastError();
    return error == 0 || error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
           Fail("error %lu", error);
}

// exists, and absent (mode 1).
static bool CmdExists(char **args, int, int absent) {
    bool there = GetFileAttributesW(W(args[0])) != INVALID_FILE_ATTRIBUTES;
    return there != (absent != 0) || Fail("it is %sthere", there ? "" : "not ");
}

// env (mode 0), cwd (1) and fail (2): settings for the programs started later in the case.
static bool CmdSet(char **args, int, int which) {
    if (which == 0)
        return SetEnvironmentVariableW(W(args[0]), W(args[1])) || Fail("cannot set it");
    lstrcpynA(which == 1 ? g_cwd : g_fault, args[0], TEXT_MAX);
    return true;
}

// ---- registry. The driver sees the 64-bit view (it is 64-bit; KEY_WOW64_64KEY
// throughout) and finds the 32-bit program's keys itself: Wine's 64-bit side,
// asked for the 32-bit view, would redirect the whole of Classes.

static bool OpenKey(const char *path, HKEY *key) {
    return RegOpenKeyExW(HKEY_LOCAL_MACHINE, W(path), 0, KEY_READ | KEY_WOW64_64KEY, key) == 0;
}

static bool KeyExists(const char *path) {
    HKEY key;
    return OpenKey(path, &key) && RegCloseKey(key) == 0;
}

// Under Classes only the keys that Classes\Wow6432Node holds (CLSID, TypeLib,
// Interface) are the 32-bit side's own; the rest is shared.
static const char *ProgramView(const char *path) {
    static char ring[4][TEXT_MAX];
    static int next;
    char *view = ring[next++ % 4], node[TEXT_MAX];
    bool classes = _strnicmp(path, CLASSES, strlen(CLASSES)) == 0;
    const char *rest = path + (classes ? strlen(CLASSES) : strlen("Software\\"));
    snprintf(node, sizeof node, CLASSES "Wow6432Node\\%.*s", (int)strcspn(rest, "\\"), rest);
    snprintf(view, TEXT_MAX,
             !classes          ? "Software\\Wow6432Node\\%s"
             : KeyExists(node) ? CLASSES "Wow6432Node\\%s"
                               : CLASSES "%s",
             rest);
    return view;
}

static bool CmdRegset(char **args, int, int) {
    const char *path = ProgramView(args[0]);
    const WCHAR *text = W(args[2]);
    LONG status = RegSetKeyValueW(HKEY_LOCAL_MACHINE, W(path), W(args[1]), REG_SZ, text,
                                  (lstrlenW(text) + 1) * sizeof(WCHAR));
    return status == ERROR_SUCCESS || Fail("cannot write HKLM\\%s (error %ld)", path, status);
}

// Each value must be REG_SZ holding exactly its text and the terminator.
static bool CmdLayout(char **args, int, int) {
    char typeLib[TEXT_MAX], path[TEXT_MAX], seen[TEXT_MAX];
    WCHAR data[TEXT_MAX];
    const char *slash = strrchr(args[0], '\\');
    snprintf(typeLib, sizeof typeLib, "%.*s" COMPONENT_TYPELIB_FILE,
             slash != NULL ? (int)(slash - args[0]) + 1 : 0, args[0]);
    const struct {
        int key;
        const char *subkey, *name, *text;
    } values[] = {{0, "", "", COMPONENT_DESCRIPTION},
                  {0, "\\CLSID", "", g_clsid},
                  {1, "", "", COMPONENT_DESCRIPTION},
                  {1, "\\InprocServer32", "", args[0]},
                  {1, "\\InprocServer32", "ThreadingModel", "both"},
                  {1, "\\ProgID", "", COMPONENT_PROGID},
                  {2, "\\1.0\\0\\win32", "", typeLib}};
    for (const auto &value : values) {
        HKEY key;
        DWORD type = 0, size = 0, wanted = 2 * (lstrlenW(W(value.text)) + 1);
        snprintf(path, sizeof path, "%s%s", ProgramView(g_keys[value.key]), value.subkey);
        if (OpenKey(path, &key)) {
            size = sizeof data - 2;
            RegQueryValueExW(key, W(value.name), NULL, &type, (BYTE *)data, &size);
            RegCloseKey(key);
        }
        data[size < sizeof data ? size / 2 : 0] = 0; // a value too long for data fails below
        if (type != REG_SZ || size != wanted || data[wanted / 2 - 1] != 0 ||
            strcmp(Utf8(data, seen), value.text) != 0)
            return Fail("HKLM\\%s [%s]: type %lu, %lu bytes: %s", path, value.name, type, size,
                        Utf8(data, seen));
    }
    return !KeyExists(g_keys[1]) || Fail("HKLM\\%s is in the 64-bit view", g_keys[1]);
}

static bool CmdClean(char **, int, int) {
    for (int i = 0; i < 3; ++i)
        if (KeyExists(g_keys[i]) || KeyExists(ProgramView(g_keys[i])))
            return Fail("HKLM\\%s is still registered", g_keys[i]);
    return true;
}

// ---- windows

// Waits (ms) for a visible top-level window of the case's programs, of that
// title if one is given, holding a control of that id; only the main window
// holds the list.
static HWND Shown(const char *title, int id, DWORD ms) {
    for (DWORD start = GetTickCount();;) {
        for (HWND window = NULL;
             (window = FindWindowExW(NULL, window, NULL, title ? W(title) : NULL));)
            if (IsWindowVisible(window) && ProcOf(window) != NULL && GetDlgItem(window, id) &&
                (id == IDC_LOG_LIST) == (GetDlgItem(window, IDC_LOG_LIST) != NULL))
                return window;
        if (!KeepWaiting(start, ms))
            return NULL;
    }
}

static bool WaitGone(HWND window) {
    for (DWORD start = GetTickCount(); IsWindow(window) && IsWindowVisible(window); Sleep(50))
        if (GetTickCount() - start >= 30000)
            return Fail("it is still shown 30 s later; %s", Seen());
    return true;
}

static HWND MainWindow(void) {
    if (g_main == NULL || !IsWindow(g_main))
        g_main = Shown(NULL, IDC_LOG_LIST, 0);
    return g_main;
}

static bool CmdWindow(char **, int, int) {
    g_main = Shown(NULL, IDC_LOG_LIST, 60000);
    return g_main != NULL || Fail("none within 60 s; %s", Seen());
}

// Clicks a button (or, for id 0, closes the window).
static bool Press(HWND window, int id) {
    return (window != NULL &&
            (id == 0 ? PostMessageW(window, WM_CLOSE, 0, 0)
                     : PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                                    (LPARAM)GetDlgItem(window, id)))) ||
           Fail("no window takes it; %s", Seen());
}

static int CountResets(void) {
    int count = 0;
    ReadTrace();
    for (int i = 0; i < g_trace.count; ++i)
        count += strcmp(g_trace.line[i], "LOG ZERAMENTO COMPLETADO!") == 0;
    return count;
}

// press (mode 0), and resets N (1): a press of reset, and its wait for the
// trace's next "completed" line, N times.
static bool CmdPress(char **args, int, int resets) {
    int id = resets || strcmp(args[0], "reset") == 0 ? IDC_RESET
             : strcmp(args[0], "register") == 0      ? IDC_REGISTER
                                                     : 0;
    for (int i = 1; i <= (resets ? atoi(args[0]) : 1); ++i) {
        int before = resets ? CountResets() : 0;
        if (!Press(MainWindow(), id))
            return false;
        for (DWORD start = GetTickCount(); resets && CountResets() <= before;)
            if (!KeepWaiting(start, 30000))
                return Fail("reset %d did not complete; %s", i, Seen());
    }
    return true;
}

static bool CmdBox(char **args, int, int) {
    static const char *const buttons[] = {"", "ok", "cancel", "", "", "", "yes", "no"};
    char caption[TEXT_MAX], text[TEXT_MAX], line[3 * TEXT_MAX];
    int id = 1;
    while (strcmp(buttons[id], args[3]) != 0)
        ++id;
    HWND box = Shown(NULL, 0xFFFF, 60000);
    if (box == NULL)
        return Fail("no message box within 60 s; %s", Seen());
    WindowText(box, caption);
    WindowText(GetDlgItem(box, 0xFFFF), text);
    if (!Glob(args[0], caption) || !Glob(args[1], text))
        return Fail("the box shows %s | %s", caption, text);
    snprintf(line, sizeof line, "MessageBoxA \"%s\" \"%s\" %s", args[0], args[1], args[2]);
    if (strcmp(args[2], "*") != 0 && !TakeTrace(line))
        return false;
    return (GetDlgItem(box, id) != NULL || Fail("the box has no %s button", args[3])) &&
           Press(box, id) && WaitGone(box);
}

// open, and save (mode 1): the path goes into the file-name field (0x47C); "-" cancels.
static bool CmdFile(char **args, int, int save) {
    const char *title =
        save ? "C O P I A R  Quorvalis.dll/tlb  para..." : "Registrar Quorvalis.dll/tlb";
    HWND dialog = Shown(title, IDOK, 60000);
    DWORD_PTR result = 0;
    if (dialog == NULL)
        return Fail("none within 60 s; %s", Seen());
    if (strcmp(args[0], "-") == 0)
        return Press(dialog, IDCANCEL) && WaitGone(dialog);
    if (!SendMessageTimeoutW(GetDlgItem(dialog, 0x47C), WM_SETTEXT, 0, (LPARAM)W(args[0]),
                             SMTO_ABORTIFHUNG, 30000, &result))
        return Fail("cannot fill its file-name field (error %lu)", GetLastError());
    return Press(dialog, IDOK) && WaitGone(dialog);
}

static bool CmdText(char **args, int, int) {
    char text[TEXT_MAX];
    int id = atoi(args[0]);
    HWND control = MainWindow() == NULL || id == 0 ? g_main : GetDlgItem(g_main, id);
    if (control == NULL)
        return Fail("no main window, or no control %d in it", id);
    return strcmp(WindowText(control, text), args[1]) == 0 || Fail("it shows \"%s\"", text);
}

static bool CmdCentred(char **, int, int) {
    RECT r = {};
    if (!GetWindowRect(MainWindow(), &r))
        return Fail("no main window; %s", Seen());
    int left = (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2;
    int top = (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2;
    return (r.left == left && r.top == top) ||
           Fail("left, top are %ld, %ld; centred is %d, %d", r.left, r.top, left, top);
}

// ---- the log: the window's list, or a log file

static LRESULT AskList(UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(GetDlgItem(MainWindow(), IDC_LOG_LIST), message, wParam, lParam,
                               SMTO_ABORTIFHUNG, 30000, &result)
               ? (LRESULT)result
               : -1;
}

static bool ListLine(int index, WCHAR *line) {
    LRESULT length = AskList(LB_GETTEXTLEN, index, 0);
    line[0] = 0;
    return length >= 0 && length < TEXT_MAX && AskList(LB_GETTEXT, index, (LPARAM)line) == length;
}

// log, and log+ (mode 1), which passes over lines that do not match. From the
// list, each line is waited for.
static bool CmdLog(char **args, int, int skip) {
    WCHAR wide[TEXT_MAX];
    char line[TEXT_MAX];
    for (int i = g_logCursor;; ++i) {
        if (g_logFromFile && i < g_logFile.count) {
            lstrcpynA(line, g_logFile.line[i], TEXT_MAX);
        } else {
            for (DWORD start = GetTickCount(); !g_logFromFile && AskList(LB_GETCOUNT, 0, 0) <= i;)
                if (!KeepWaiting(start, 30000))
                    break;
            if (g_logFromFile || !ListLine(i, wide))
                return Fail("no log line %d%s; %s", i + 1, skip ? " matches" : "", Seen());
            Utf8(wide, line);
        }
        if (Glob(args[0], line)) {
            g_logCursor = i + 1;
            return true;
        }
        if (!skip)
            return Fail("log line %d is \"%s\"", i + 1, line);
    }
}

static bool CmdLines(char **args, int, int) {
    LRESULT count = AskList(LB_GETCOUNT, 0, 0);
    return count == atoi(args[0]) || Fail("the list holds %ld lines", (long)count);
}

static bool CmdExtent(char **, int, int) {
    WCHAR line[TEXT_MAX];
    SIZE size = {};
    LONG widest = 0, expected;
    LRESULT count = AskList(LB_GETCOUNT, 0, 0);
    HDC screen = GetDC(NULL);
    HGDIOBJ old = SelectObject(screen, GetStockObject(SYSTEM_FIXED_FONT));
    for (int i = 0; i < count; ++i)
        if (ListLine(i, line) && GetTextExtentPoint32W(screen, line, lstrlenW(line), &size))
            widest = size.cx > widest ? size.cx : widest;
    SelectObject(screen, old);
    ReleaseDC(NULL, screen);
    LRESULT extent = AskList(LB_GETHORIZONTALEXTENT, 0, 0);
    expected = widest + 3 * GetSystemMetrics(SM_CXBORDER);
    return (count >= 0 && extent == expected) ||
           Fail("%ld expected for %ld lines, %ld seen", expected, (long)count, (long)extent);
}

static bool CmdLogFile(char **args, int, int) {
    char *text = g_logFile.text;
    int length = ReadWhole(args[0], text, FILE_MAX), bad = 3;
    while (bad < length && (text[bad] == '\n') == (text[bad - 1] == '\r'))
        ++bad;
    if (length < 3 || memcmp(text, "\xEF\xBB\xBF", 3) != 0)
        return Fail("it is missing, or does not start with the UTF-8 byte order mark");
    if (strstr(text + 3, "\xEF\xBB\xBF") != NULL || (int)strlen(text) != length ||
        (length > 3 &&
         MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text + 3, length - 3, NULL, 0) == 0))
        return Fail("it holds another byte order mark, a zero byte, or bytes that are not UTF-8");
    if (bad < length || (length > 3 && text[length - 1] != '\n'))
        return Fail("byte %d: a line that does not end in CR LF", bad);
    g_logFromFile = true;
    g_logCursor = 0;
    SplitLines(&g_logFile, text + 3);
    return true;
}

// ---- the COM client, and the idle program

static bool CmdClient(char **args, int, int) {
    char output[65536] = "";
    WCHAR command[] = L"C:\\windows\\syswow64\\cscript.exe //nologo C:\\qv\\client-check.vbs";
    const char *path = "C:\\windows\\temp\\qv-client.txt";
    const char *wanted = strcmp(args[0], "ok") == 0 ? "QUORVALIS CLIENT OK Versao=[1.2.3.4]"
                                                    : "QUORVALIS CLIENT FAILED";
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, NULL, TRUE};
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError =
        CreateFileW(W(path), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, NULL);
    PROCESS_INFORMATION info = {};
    bool ended = CreateProcessW(NULL, command, NULL, NULL, TRUE, 0, NULL, NULL, &startup, &info) &&
                 WaitForSingleObject(info.hProcess, 90000) == WAIT_OBJECT_0;
    TerminateProcess(info.hProcess, 1);
    CloseHandle(startup.hStdOutput);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    ReadWhole(path, output, sizeof output);
    return (ended && strstr(output, wanted) != NULL) ||
           Fail("the client %s: %s", ended ? "printed" : "did not end", output);
}

// CPU time, in ms, of the window's thread: the program has no other. Wine
// answers GetProcessTimes for another process with the caller's own times,
// but its thread times are true.
static ULONGLONG CpuMs(HWND window) {
    FILETIME created, exited, kernel = {}, user = {};
    HANDLE thread =
        OpenThread(THREAD_QUERY_INFORMATION, FALSE, GetWindowThreadProcessId(window, NULL));
    GetThreadTimes(thread, &created, &exited, &kernel, &user);
    CloseHandle(thread);
    return (((ULONGLONG)kernel.dwHighDateTime << 32 | kernel.dwLowDateTime) +
            ((ULONGLONG)user.dwHighDateTime << 32 | user.dwLowDateTime)) /
           10000;
}

// idle, and cpu LABEL (mode 1), which reports the share for make bench instead.
static bool CmdIdle(char **args, int, int report) {
    Proc *proc = ProcOf(MainWindow());
    ULONGLONG before = CpuMs(g_main);
    DWORD start = GetTickCount();
    // Its start certainly cost CPU time: none means the clock cannot be read.
    if (proc == NULL || before == 0 || WaitForSingleObject(proc->handle, 3000) != WAIT_TIMEOUT)
        return Fail("no main window, or its CPU time cannot be read; %s", Seen());
    DWORD used = (DWORD)(CpuMs(g_main) - before), wall = GetTickCount() - start;
    if (report)
        printf("BENCH %s %.1f\n", args[0], 100.0 * used / wall);
    return report || used * 20 < wall || Fail("it used %lu ms of CPU time in %lu ms", used, wall);
}

// mark, and elapsed LABEL (mode 1): milliseconds since the mark, for make bench.
static bool CmdMark(char **args, int, int report) {
    static DWORD mark;
    if (report)
        printf("BENCH %s %lu\n", args[0], GetTickCount() - mark);
    mark = GetTickCount();
    return true;
}

// shot NAME: with QV_SHOTS_WINDOWS set, asks the runner for a picture of the
// main window and waits (10 s at most) for NAME.done there.
static bool CmdShot(char **args, int, int) {
    char folder[TEXT_MAX], done[2 * TEXT_MAX];
    RECT r = {};
    if (GetEnvironmentVariableA("QV_SHOTS_WINDOWS", folder, TEXT_MAX) == 0)
        return true;
    GetWindowRect(MainWindow(), &r);
    printf("snapshot %s %ld %ld %ld %ld\n", args[0], r.left, r.top, r.right - r.left,
           r.bottom - r.top);
    fflush(stdout);
    snprintf(done, sizeof done, "%s\\%s.done", folder, args[0]);
    for (DWORD start = GetTickCount(); GetFileAttributesW(W(done)) == INVALID_FILE_ATTRIBUTES;)
        if (!KeepWaiting(start, 10000))
            return Fail("no picture taken");
    return true;
}

// ---- the script

static void EndCase(void) {
    for (int i = 0; i < g_procCount; ++i)
        if (g_inCase && !g_failed && !g_procs[i].settled && Alive(i))
            Fail("a program still runs at the end of %s; %s", g_caseName, Seen());
    CmdKill(NULL, 0, 0);
    for (int i = 0; i < g_procCount; ++i)
        CloseHandle(g_procs[i].handle);
    g_procCount = 0;
    g_failedCases += g_inCase && g_failed;
    g_inCase = false;
}

static bool CmdCase(char **args, int, int) {
    g_selected = g_nameCount == 0;
    for (int i = 0; i < g_nameCount; ++i) {
        g_nameSeen[i] = g_nameSeen[i] || strcmp(g_names[i], args[0]) == 0;
        g_selected = g_selected || strcmp(g_names[i], args[0]) == 0;
    }
    if (g_dry)
        return true;
    EndCase();
    g_failed = false;
    if (!g_selected)
        return true;
    printf("== case %s\n", args[0]);
    snprintf(g_caseName, TEXT_MAX, "case %s", args[0]);
    g_inCase = true;
    ++g_cases;
    g_traceCursor = g_logCursor = 0;
    g_logFromFile = false;
    g_main = NULL;
    SetEnvironmentStringsW(g_driverEnvironment);
    SetEnvironmentVariableW(L"QV_TRACE", W(TRACE_PATH));
    lstrcpyA(g_cwd, "C:\\qv");
    g_fault[0] = 0;
    for (int i = 0; i < 8; ++i)
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, W(i % 2 ? ProgramView(g_keys[i / 2]) : g_keys[i / 2]));
    return CmdClean(NULL, 0, 0) &&
           (DeleteFileW(W(TRACE_PATH)) || GetLastError() == ERROR_FILE_NOT_FOUND ||
            Fail("cannot delete the trace (error %lu)", GetLastError()));
}

static char *FindVar(const char *name) {
    for (int i = 0; i < g_varCount; ++i)
        if (strcmp(g_varName[i], name) == 0)
            return g_varValue[i];
    return NULL;
}

static bool CmdLet(char **args, int, int) {
    char *value = args[0] + strcspn(args[0], " "), *slot;
    if (*value != 0)
        *value++ = 0;
    if (args[0][0] < 'A' || args[0][0] > 'Z' || strspn(args[0], NAME_CHARS) != strlen(args[0]) ||
        ((slot = FindVar(args[0])) == NULL && g_varCount == MAX_NAMES))
        Misuse("bad variable name, or too many: %s", args[0]);
    if (slot == NULL) {
        lstrcpynA(g_varName[g_varCount], args[0], 64);
        slot = g_varValue[g_varCount++];
    }
    lstrcpynA(slot, value, TEXT_MAX);
    return true;
}

// define NAME: the lines up to "end" are kept for "do", not run.
static bool CmdDefine(char **args, int, int) {
    if (g_macroCount == MAX_NAMES)
        Misuse("too many macros: %s", args[0]);
    lstrcpynA(g_macroName[g_macroCount], args[0], 64);
    g_macroBody[g_macroCount++] = g_next;
    g_skipping = true;
    return true;
}

static void RunLines(const char *p, bool body);

// do NAME ARG1 | ARG2...: runs the macro's lines with $1, $2... set.
static bool CmdDo(char **args, int count, int) {
    char **params = g_params, *first = args[0] + strcspn(args[0], " ");
    const char *next = g_next;
    int paramCount = g_paramCount, i = 0;
    if (*first != 0)
        *first++ = 0;
    while (i < g_macroCount && strcmp(g_macroName[i], args[0]) != 0)
        ++i;
    if (i == g_macroCount || g_depth == 8)
        Misuse("no macro %s, or macros nested too deep", args[0]);
    args[0] = first;
    g_params = args;
    g_paramCount = *first == 0 && count == 1 ? 0 : count;
    ++g_depth;
    RunLines(g_macroBody[i], true);
    --g_depth;
    g_params = params;
    g_paramCount = paramCount;
    g_next = next;
    return true;
}

// case, let, define and do, the first four, steer the run: they run in every pass.
static const Command g_commands[] = {
    {"case", 1, 1, NULL, 0, CmdCase},
    {"let", 1, 1, NULL, 0, CmdLet},
    {"define", 1, 1, NULL, 0, CmdDefine},
    {"do", 1, MAX_ARGS, NULL, 0, CmdDo},
    {"folder", 1, MAX_ARGS, NULL, 0, CmdFolder},
    {"copy", 2, 2, NULL, 0, CmdCopy},
    {"delete", 1, 1, NULL, 0, CmdDelete},
    {"exists", 1, 1, NULL, 0, CmdExists},
    {"absent", 1, 1, NULL, 1, CmdExists},
    {"env", 2, 2, NULL, 0, CmdSet},
    {"cwd", 1, 1, NULL, 1, CmdSet},
    {"fail", 1, 1, NULL, 2, CmdSet},
    {"regset", 3, 3, NULL, 0, CmdRegset},
    {"start", 0, 1, NULL, 0, CmdStart},
    {"run", 0, 1, NULL, 1, CmdStart},
    {"exit", 1, 1, NULL, 0, CmdExit},
    {"window", 0, 0, NULL, 0, CmdWindow},
    {"press", 1, 1, " register reset close ", 0, CmdPress},
    {"resets", 1, 1, NULL, 1, CmdPress},
    {"box", 4, 4, " ok cancel yes no ", 0, CmdBox},
    {"open", 1, 1, NULL, 0, CmdFile},
    {"save", 1, 1, NULL, 1, CmdFile},
    {"log", 1, 1, NULL, 0, CmdLog},
    {"log+", 1, 1, NULL, 1, CmdLog},
    {"logfile", 1, 1, NULL, 0, CmdLogFile},
    {"trace", 1, 1, NULL, 0, CmdTrace},
    {"notrace", 1, 1, NULL, 1, CmdTrace},
    {"text", 2, 2, NULL, 0, CmdText},
    {"centred", 0, 0, NULL, 0, CmdCentred},
    {"lines", 1, 1, NULL, 0, CmdLines},
    {"extent", 0, 0, NULL, 0, CmdExtent},
    {"layout", 1, 1, NULL, 0, CmdLayout},
    {"clean", 0, 0, NULL, 0, CmdClean},
    {"client", 1, 1, " ok fails ", 0, CmdClient},
    {"idle", 0, 0, NULL, 0, CmdIdle},
    {"cpu", 1, 1, NULL, 1, CmdIdle},
    {"mark", 0, 0, NULL, 0, CmdMark},
    {"elapsed", 1, 1, NULL, 1, CmdMark},
    {"shot", 1, 1, NULL, 0, CmdShot},
    {"kill", 0, 0, NULL, 0, CmdKill},
};

// Replaces $1, $2... by the macro's arguments and $NAME by the let values (the
// "do" line's own are replaced before its arguments are taken), then {CR}, {LF}.
static void Expand(const char *in, char *out) {
    char key[64], *start = out, *end = out + 2 * TEXT_MAX - 1;
    while (*in != 0 && out < end) {
        bool digit = in[1] >= '0' && in[1] <= '9';
        size_t length = *in != '$' ? 0 : strspn(in + 1, digit ? "0123456789" : NAME_CHARS);
        if (length == 0) {
            *out++ = *in++;
            continue;
        }
        lstrcpynA(key, in + 1, length < 63 ? (int)length + 1 : 64);
        int index = digit ? atoi(key) : 0;
        const char *value = !digit                                ? FindVar(key)
                            : index >= 1 && index <= g_paramCount ? g_params[index - 1]
                                                                  : NULL;
        static char fromEnvironment[TEXT_MAX];
        if (value == NULL && !digit && GetEnvironmentVariableA(key, fromEnvironment, TEXT_MAX) > 0)
            value = fromEnvironment;
        if (value == NULL)
            Misuse("unknown $%s", key);
        out += strlen(lstrcpynA(out, value, (int)(end - out) + 1));
        in += 1 + length;
    }
    *out = 0;
    // A macro's line is shown with its arguments in place.
    if (g_depth > 0)
        lstrcpynA(g_shown, start, TEXT_MAX);
    MapBreaks(start);
}

// Finds the command and its arguments; a script that misuses one is refused.
static const Command *Parse(char *line, char **args, int *count) {
    char *rest = line + strcspn(line, " "), word[TEXT_MAX];
    const Command *command = NULL;
    if (*rest != 0)
        *rest++ = 0;
    for (const Command &candidate : g_commands)
        command = strcmp(candidate.name, line) == 0 ? &candidate : command;
    if (command == NULL)
        Misuse("unknown command \"%s\"", line);
    args[0] = rest;
    *count = *rest == 0 ? 0 : 1;
    // Fields are split at " | "; an empty field may share its blanks ("A | | B").
    for (char *p = rest; *p != 0 && command->maxArgs > 1 && *count < MAX_ARGS; ++p) {
        char *field = args[*count - 1];
        if (*p != '|' || (p != field && p[-1] != ' ') || (p[1] != ' ' && p[1] != 0))
            continue;
        *(p != field ? p - 1 : p) = 0;
        args[(*count)++] = p[1] == ' ' ? p + 2 : p + 1;
        p = args[*count - 1] - 1;
    }
    if (*count < command->minArgs || *count > command->maxArgs)
        Misuse("wrong number of arguments for %s", command->name);
    snprintf(word, TEXT_MAX, " %s ", args[*count > 0 ? *count - 1 : 0]);
    if (command->words != NULL && strstr(command->words, word) == NULL)
        Misuse("%s takes other words here", command->name);
    return command;
}

// Runs the lines from p on: the script's, or a macro's up to its "end".
static void RunLines(const char *p, bool body) {
    char raw[TEXT_MAX], line[2 * TEXT_MAX], *args[MAX_ARGS];
    for (; *p != 0; p = g_next) {
        size_t length = strcspn(p, "\n");
        g_next = p + length + (p[length] != 0);
        lstrcpynA(raw, p, (int)(length < TEXT_MAX ? length + 1 : TEXT_MAX));
        // A macro's lines are reported at the line of its "do".
        for (const char *q = g_text; !body && q <= p; ++q)
            g_line = q == g_text ? 1 : g_line + (q[-1] == '\n');
        char *text = raw + strspn(raw, " \t");
        for (size_t end = strlen(text); end > 0 && strchr(" \t\r", text[end - 1]) != NULL; --end)
            text[end - 1] = 0;
        if (*text == 0 || *text == '#' || (g_skipping && strcmp(text, "end") != 0))
            continue;
        if (strcmp(text, "end") == 0 && (body || g_skipping)) {
            if (!g_skipping)
                return;
            g_skipping = false;
            continue;
        }
        lstrcpyA(g_shown, text);
        Expand(text, line);
        int count = 0;
        const Command *command = Parse(line, args, &count);
        if (command < g_commands + 4 || (!g_dry && g_selected && !g_failed))
            command->run(args, count, command->mode);
    }
    if (g_skipping)
        Misuse("a define has no end%s", "");
}

int main(int argc, char **argv) {
    static char script[1 << 20];
    if (argc < 2 || argc - 2 > 64 || ReadWhole(argv[1], script, sizeof script) < 0) {
        fprintf(stderr, "usage: qv-drive SCRIPT [CASE...] (at most 64 cases)\n");
        return 2;
    }
    setvbuf(stdout, NULL, _IONBF, 0);
    g_script = argv[1];
    g_names = argv + 2;
    g_nameCount = argc - 2;
    g_driverEnvironment = GetEnvironmentStringsW();
    g_text = script + (strncmp(script, "\xEF\xBB\xBF", 3) == 0 ? 3 : 0);
    FormatGuidString(g_clsid, &CLSID_Component);
    FormatGuidString(g_libid, &LIBID_Component);
    snprintf(g_keys[0], MAX_PATH, CLASSES "%s", COMPONENT_PROGID);
    snprintf(g_keys[1], MAX_PATH, CLASSES "CLSID\\%s", g_clsid);
    snprintf(g_keys[2], MAX_PATH, CLASSES "TypeLib\\%s", g_libid);
    snprintf(g_keys[3], MAX_PATH, "Software\\QuorvalisSamples");
    // A first pass refuses a misused script before anything runs.
    for (int pass = 0; pass < 2; ++pass) {
        g_dry = pass == 0;
        g_selected = true;
        g_varCount = 1;
        g_macroCount = 0;
        lstrcpyA(g_varName[0], "PROGRAM");
        lstrcpyA(g_varValue[0], "C:\\qv\\bin\\REGQuorvalis-test.exe");
        RunLines(g_text, false);
        for (int i = 0; i < g_nameCount && g_dry; ++i)
            if (!g_nameSeen[i])
                Misuse("the script has no case %s", g_names[i]);
    }
    EndCase();
    printf("qv-drive: %d cases, %d failed\n", g_cases, g_failedCases);
    return g_exitCode;
}
