// qv-drive SCRIPT: runs case scripts against the 32-bit program under
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
#include "resource.h"

#define TEXT_MAX   4096
#define MAX_ARGS   16
#define MAX_NAMES  64
#define MAX_PROCS  32
#define FILE_MAX   (1 << 21)
#define WAIT_MS    60000
#define TRACE_PATH "C:\\qv\\trace.txt"
#define HERE       "C:\\Automação Comercial" // where an operator keeps the component
#define SAMPLE_LIB "C:\\qv\\samples\\component\\Quorvalis.dll"
#define SAMPLE_TLB "C:\\qv\\samples\\component\\Quorvalis.tlb"
#define CLASSES    "Software\\Classes\\"
// The component's identity, written out rather than formatted by the program.
#define CLSID      "{5D0E3C71-9A4B-4F26-B3E8-71C2A94D06F5}"
#define LIBID      "{C84A1F39-2E6D-4B07-9F51-0A7E3D62B8C4}"
#define NAME_CHARS "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_"

struct Proc {
    HANDLE handle;
    bool settled; // its exit was checked
};
struct Lines {
    char text[3 * FILE_MAX];
    char *line[FILE_MAX];
    int count;
};
struct Command {
    const char *name;
    int args; // arguments at least; more than one, or -1, split at " | "
    int mode; // tells apart the commands that share a function
    bool (*run)(char **args, int mode);
};

static const char *g_script, *g_next; // the script; the line after the one that runs
static char g_shown[TEXT_MAX];
static char g_macroName[MAX_NAMES][64];
static const char *g_macroBody[MAX_NAMES];
// The component's keys, where the 32-bit program writes them and where a
// 64-bit one would; then the sample registrar's records.
static const char *const g_keys[] = {CLASSES "Quorvalis.dll.object",
                                     CLASSES "Wow6432Node\\CLSID\\" CLSID,
                                     CLASSES "Wow6432Node\\TypeLib\\" LIBID,
                                     CLASSES "CLSID\\" CLSID,
                                     CLASSES "TypeLib\\" LIBID,
                                     "Software\\Wow6432Node\\QuorvalisSamples",
                                     "Software\\QuorvalisSamples"};
static int g_line, g_cases, g_failedCases, g_exitCode, g_macroCount, g_procCount;
static int g_traceCursor, g_logCursor, g_paramCount;
static bool g_inCase, g_failed, g_logFromFile, g_skipping, g_caseOff;
static char **g_params;
static Proc g_procs[MAX_PROCS];
static WCHAR *g_caseEnvironment; // as the first case found it
static HWND g_main, g_away;
static DWORD g_started; // when the latest program started
static Lines g_trace, g_logFile;
static DWORD g_tracePid[FILE_MAX]; // the process that wrote each trace line

// A short-lived UTF-16 copy for an API argument; a few may be alive at once.
static const WCHAR *W(const char *text) {
    static WCHAR ring[6][TEXT_MAX];
    static int next;
    WCHAR *out = ring[next++ % 6];
    MultiByteToWideChar(CP_UTF8, 0, text, -1, out, TEXT_MAX);
    return out;
}

// Line breaks come out as {CR} and {LF}, as scripts and the trace write them.
static char *Utf8(const WCHAR *text, char *out) {
    char *end = out;
    for (; *text != 0 && end - out < TEXT_MAX - 8; ++text)
        end += *text == '\r'   ? sprintf(end, "{CR}")
               : *text == '\n' ? sprintf(end, "{LF}")
                               : WideCharToMultiByte(CP_UTF8, 0, text, 1, end, 4, NULL, NULL);
    *end = 0;
    return out;
}

// $NAME: let sets it in the environment, which the programs inherit too.
static const char *Variable(const char *name) {
    static char ring[2][TEXT_MAX];
    static int next;
    WCHAR wide[TEXT_MAX];
    DWORD length = GetEnvironmentVariableW(W(name), wide, TEXT_MAX);
    return length > 0 && length < TEXT_MAX ? Utf8(wide, ring[next++ % 2]) : NULL;
}

static char *WindowText(HWND window, char *out) {
    WCHAR wide[TEXT_MAX] = L"";
    GetWindowTextW(window, wide, TEXT_MAX);
    return Utf8(wide, out);
}

static bool Fail(const char *format, ...) {
    va_list args;
    va_start(args, format);
    printf("[FAIL] %s:%d: %s -- ", g_script, g_line, g_shown);
    vprintf(format, args);
    va_end(args);
    putchar('\n');
    g_failed = true;
    g_exitCode = 1;
    return false;
}

static void Misuse(const char *what, const char *detail) {
    printf("%s:%d: %s %s\n", g_script, g_line, what, detail);
    exit(2);
}

// '*' matches any run of characters.
static bool Glob(const char *pattern, const char *text) {
    if (*pattern == '*')
        return Glob(pattern + 1, text) || (*text != 0 && Glob(pattern, text + 1));
    return *pattern == *text && (*text == 0 || Glob(pattern + 1, text + 1));
}

static void SplitLines(Lines *lines, char *p) {
    for (lines->count = 0; *p != 0; *p++ = 0) {
        char *start = lines->line[lines->count++] = p;
        p += strcspn(p, "\n");
        if (p > start && p[-1] == '\r')
            p[-1] = 0;
        if (*p == 0)
            break;
    }
}

// The file's length; -1 if it is missing or too long to be read in full.
static int ReadWhole(const char *path, char *buffer, int size) {
    DWORD got = 0;
    HANDLE file = CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_EXISTING, 0, NULL);
    BOOL read = ReadFile(file, buffer, size - 1, &got, NULL);
    CloseHandle(file);
    buffer[got] = 0;
    return read && (int)got < size - 1 ? (int)got : -1;
}

// ---- the case's programs

static bool Alive(int i) {
    return WaitForSingleObject(g_procs[i].handle, 0) == WAIT_TIMEOUT;
}

// Polls until done() holds, at a short interval in the first second so that
// make bench's times are not the interval's. Once the time is up, or the
// case's programs have all ended, it is asked once more: a program may have
// done it and ended between the two looks.
template <typename Done> static bool Until(Done done, DWORD ms = 30000) {
    for (DWORD start = GetTickCount(); !done();) {
        bool alive = false;
        for (int i = 0; i < g_procCount; ++i)
            alive = alive || Alive(i);
        DWORD waited = GetTickCount() - start;
        if (waited >= ms || !alive || SleepEx(waited < 1000 ? 5 : 50, FALSE) != 0)
            return done();
    }
    return true;
}

// ---- the trace: code page 1252, CR LF lines, line breaks inside a line
// written {CR}/{LF}. The program appends to it while it runs.

static void ReadTrace(void) {
    static char raw[FILE_MAX];
    static WCHAR wide[FILE_MAX];
    int length = ReadWhole(TRACE_PATH, raw, FILE_MAX);
    int chars = length > 0 ? MultiByteToWideChar(1252, 0, raw, length, wide, FILE_MAX) : 0;
    char *text = g_trace.text;
    text[WideCharToMultiByte(CP_UTF8, 0, wide, chars, text, 3 * FILE_MAX - 1, NULL, NULL)] = 0;
    SplitLines(&g_trace, text);
    for (int i = 0; i < g_trace.count; ++i) // "PID text"
        g_tracePid[i] = strtoul(g_trace.line[i], &g_trace.line[i], 10),
        g_trace.line[i] += *g_trace.line[i] == ' ';
}

// The first trace line at or after the cursor that matches, or -1.
static int FindTrace(const char *pattern) {
    ReadTrace();
    for (int i = g_traceCursor; i < g_trace.count; ++i)
        if (Glob(pattern, g_trace.line[i]))
            return i;
    return -1;
}

// Waits for the line and moves the cursor past it.
static bool TakeTrace(const char *pattern) {
    int found = -1;
    if (!Until([&] { return (found = FindTrace(pattern)) != -1; }))
        return Fail("no such line from line %d of %d", g_traceCursor + 1, g_trace.count);
    g_traceCursor = found + 1;
    return true;
}

// trace, and notrace (mode 1).
static bool CmdTrace(char **args, int absent) {
    if (!absent)
        return TakeTrace(args[0]);
    int found = FindTrace(args[0]);
    return found == -1 || Fail("line %d is %s", found + 1, g_trace.line[found]);
}

// Starts a program in the folder $CWD; exit waits for it.
static bool Launch(const char *program, const char *arguments) {
    char line[TEXT_MAX];
    snprintf(line, sizeof line, "\"%s\" %s", program, arguments);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info;
    BOOL started =
        g_procCount < MAX_PROCS && CreateProcessW(NULL, (WCHAR *)W(line), NULL, NULL, FALSE, 0,
                                                  NULL, W(Variable("CWD")), &startup, &info);
    if (!started)
        return Fail("cannot start it (error %lu)", GetLastError());
    CloseHandle(info.hThread);
    g_started = GetTickCount();
    g_procs[g_procCount++] = {info.hProcess, false};
    return true;
}

// Waits for the latest program not yet waited for; checks its code (or any,
// for "*") and that the test variants that ended released all they opened.
static bool CmdExit(char **args, int) {
    int i = g_procCount - 1;
    while (i >= 0 && g_procs[i].settled)
        --i;
    DWORD code = 0;
    if (i < 0 || WaitForSingleObject(g_procs[i].handle, 90000) != WAIT_OBJECT_0)
        return Fail("no program ended within 90 s");
    g_procs[i].settled = GetExitCodeProcess(g_procs[i].handle, &code);
    const char *wanted = args[0] != NULL ? args[0] : "*";
    if (code != (DWORD)strtoll(wanted, NULL, 10) && strcmp(wanted, "*") != 0)
        return Fail("exit code %lu", code);
    ReadTrace();
    for (int line = 0; line < g_trace.count; ++line)
        if (strncmp(g_trace.line[line], "BALANCE ", 8) == 0 &&
            strcmp(g_trace.line[line], "BALANCE keys=0 modules=0 dcs=0 files=0") != 0)
            return Fail("a program left open: %s", g_trace.line[line]);
    return true;
}

// start ARGUMENTS: $PROGRAM; run ARGUMENTS [| CODE] (mode 1) waits for its exit too.
static bool CmdStart(char **args, int wait) {
    return Launch(Variable("PROGRAM"), args[0]) && (!wait || CmdExit(args + 1, 0));
}

// client ok|fails: Wine's 32-bit cscript runs the client, which exits 0 only
// when the registered component answers with the sample's version.
static bool CmdClient(char **args, int) {
    char *code[] = {(char *)(strcmp(args[0], "ok") == 0 ? "0" : "1"), NULL};
    return Launch("C:\\windows\\syswow64\\cscript.exe",
                  "//nologo C:\\qv\\client-check.vbs 1.2.3.4") &&
           CmdExit(code, 0);
}

// ---- files and settings

static bool CmdFolder(char **args, int) {
    WCHAR folder[MAX_PATH + 1] = L""; // SHFileOperation takes a list ending in two zeros
    char target[TEXT_MAX];
    lstrcpynW(folder, W(args[0]), MAX_PATH);
    SHFILEOPSTRUCTW remove = {NULL, FO_DELETE, folder, NULL, FOF_NO_UI, FALSE, NULL, NULL};
    SHFileOperationW(&remove); // a missing folder is fine
    int made = SHCreateDirectoryExW(NULL, folder, NULL);
    for (int i = 1; args[i] != NULL && made == ERROR_SUCCESS; ++i) {
        const char *name = strrchr(args[i], '\\');
        snprintf(target, sizeof target, "%s\\%s", args[0], name != NULL ? name + 1 : args[i]);
        if (!CopyFileW(W(args[i]), W(target), FALSE))
            return Fail("cannot copy %s (error %lu)", args[i], GetLastError());
    }
    return made == ERROR_SUCCESS || Fail("cannot make it an empty folder (error %d)", made);
}

// copy SOURCE | TARGET, and delete FILE (mode 1), which may be missing.
static bool CmdCopy(char **args, int remove) {
    DWORD error = (remove ? DeleteFileW(W(args[0])) : CopyFileW(W(args[0]), W(args[1]), FALSE))
                      ? 0
                      : GetLastError();
    return error == 0 || (remove && error == ERROR_FILE_NOT_FOUND) || Fail("error %lu", error);
}

// bytes FILE | TEXT: the file's bytes, line breaks as {CR} and {LF}, match
// TEXT (none for an empty file); a missing file reads as {no file}, one too
// long to show as {long}.
static bool CmdBytes(char **args, int) {
    char raw[TEXT_MAX / 5], text[TEXT_MAX], *out = text;
    int length = ReadWhole(args[0], raw, sizeof raw);
    bool missing = GetFileAttributesW(W(args[0])) == INVALID_FILE_ATTRIBUTES;
    lstrcpyA(text, length >= 0 ? "" : missing ? "{no file}" : "{long}");
    for (int i = 0; i < length; ++i)
        out += sprintf(out, raw[i] == '\r' ? "{CR}" : raw[i] == '\n' ? "{LF}" : "%c", raw[i]);
    return Glob(args[1] != NULL ? args[1] : "", text) || Fail("it holds %s", text);
}

// ---- registry, in the 64-bit view: the driver is 64-bit (Wine's 64-bit side,
// asked for the 32-bit view, would redirect the whole of Classes). There the
// 32-bit program's CLSID, TypeLib and Software keys are under Wow6432Node,
// and scripts name them so.

// regset KEY | NAME | TEXT, and regdel KEY (mode 1), with what is under it.
// A \0 in TEXT is a NUL: a text with bytes after its terminator.
static bool CmdRegset(char **args, int remove) {
    if (remove)
        return RegDeleteTreeW(HKEY_LOCAL_MACHINE, W(args[0])) == 0 || Fail("cannot delete it");
    WCHAR text[TEXT_MAX];
    lstrcpynW(text, W(args[2]), TEXT_MAX);
    int length = lstrlenW(text);
    for (WCHAR *nul = text; (nul = wcsstr(nul, L"\\0")) != NULL; length--)
        *nul++ = 0, memmove(nul, nul + 1, (wcslen(nul + 1) + 1) * sizeof(WCHAR));
    LONG status = RegSetKeyValueW(HKEY_LOCAL_MACHINE, W(args[0]), W(args[1]), REG_SZ, text,
                                  (length + 1) * sizeof(WCHAR));
    return status == ERROR_SUCCESS || Fail("cannot write it (error %ld)", status);
}

// clean: none of the component's keys, in either view.
static bool CmdClean(char **, int) {
    HKEY key;
    for (int i = 0; i < 5; ++i)
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, W(g_keys[i]), 0, KEY_READ, &key) == ERROR_SUCCESS)
            return RegCloseKey(key), Fail("HKLM\\%s is still registered", g_keys[i]);
    return true;
}

// ---- windows

// Waits (ms) for a visible top-level window, of that title if one is given,
// holding a control of that id; only the main window holds the list. The
// display is the script's own: its windows are the case's programs'.
// EnumWindows takes the list in one request: walking it with FindWindowEx
// from the window found before sends Wine 10's server into an endless loop
// when that window has just left the desktop.
struct Search {
    const char *title;
    int id;
    HWND found;
};
static BOOL CALLBACK Matches(HWND window, LPARAM lParam) {
    Search *search = (Search *)lParam;
    char text[TEXT_MAX];
    if (IsWindowVisible(window) && GetDlgItem(window, search->id) &&
        (search->id == IDC_LOG_LIST) == (GetDlgItem(window, IDC_LOG_LIST) != NULL) &&
        (search->title == NULL || strcmp(WindowText(window, text), search->title) == 0))
        search->found = window;
    return search->found == NULL;
}
static HWND Shown(const char *title, int id, DWORD ms) {
    Search search = {title, id, NULL};
    Until([&] { return EnumWindows(Matches, (LPARAM)&search), search.found != NULL; }, ms);
    return search.found;
}

// The main window; unless one is still there, the first shown within ms.
static HWND MainWindow(DWORD ms = 0) {
    if (g_main == NULL || !IsWindow(g_main))
        g_main = Shown(NULL, IDC_LOG_LIST, ms);
    return g_main;
}

static bool CmdWindow(char **, int) {
    return MainWindow(WAIT_MS) != NULL || Fail("none shown");
}

// Clicks a button (or, for id 0, closes the window); with wait, until the window is gone.
static bool Press(HWND window, int id, bool wait) {
    if (window == NULL || !(id == 0 ? PostMessageW(window, WM_CLOSE, 0, 0)
                                    : PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                                                   (LPARAM)GetDlgItem(window, id))))
        return Fail("no window takes it");
    return !wait || Until([&] { return !IsWindow(window) || !IsWindowVisible(window); }) ||
           Fail("it is still shown 30 s later");
}

// Waits until the test variant's action loop waits for the operator again: the
// window's process's last trace line is IDLE, and comes after line `after`.
// The loop forgets a press that comes while it acts. A program without a
// trace is not waited for.
static bool Idle(int after) {
    DWORD pid = 0;
    GetWindowThreadProcessId(MainWindow(), &pid);
    auto idle = [&] {
        ReadTrace();
        int last = g_trace.count - 1;
        while (last >= 0 && g_tracePid[last] != pid)
            --last;
        return g_trace.count == 0 || (last >= after && strcmp(g_trace.line[last], "IDLE") == 0);
    };
    return Until(idle) || Fail("the program did not come back to wait for the operator");
}

// press register|reset|enter|esc|close (mode 0), and resets N (1): presses
// of reset. Enter and Esc are the commands the dialog manager makes of those
// keys. Resets and Esc are waited for until the program waits again, so that
// the next press is not merged with them.
static bool CmdPress(char **args, int resets) {
    int id = resets || strcmp(args[0], "reset") == 0 ? IDC_RESET
             : strcmp(args[0], "register") == 0      ? IDC_REGISTER
             : strcmp(args[0], "enter") == 0         ? IDOK
             : strcmp(args[0], "esc") == 0           ? IDCANCEL
                                                     : 0;
    for (int i = 1; i <= (resets ? atoi(args[0]) : 1); ++i) {
        if (!(id == 0 || Idle(0)))
            return false;
        int before = g_trace.count;
        if (!Press(MainWindow(), id, false) || !((!resets && id != IDCANCEL) || Idle(before)))
            return false;
    }
    return true;
}

// box CAPTION | TEXT | FLAGS | BUTTON: FLAGS "*" for a program without a trace.
static bool CmdBox(char **args, int) {
    static const char *const buttons[] = {"", "ok", "cancel", "", "", "", "yes", "no", NULL};
    char caption[TEXT_MAX], text[TEXT_MAX], line[3 * TEXT_MAX];
    int id = 1;
    while (buttons[id] != NULL && strcmp(buttons[id], args[3]) != 0)
        ++id;
    HWND box = Shown(NULL, 0xFFFF, WAIT_MS);
    if (box == NULL || buttons[id] == NULL)
        return Fail("no message box shown, or no such button");
    WindowText(box, caption);
    WindowText(GetDlgItem(box, 0xFFFF), text);
    if (!Glob(args[0], caption) || !Glob(args[1], text))
        return Fail("the box shows %s | %s", caption, text);
    snprintf(line, sizeof line, "MessageBoxA \"%s\" \"%s\" %s", args[0], args[1], args[2]);
    return (strcmp(args[2], "*") == 0 || TakeTrace(line)) && Press(box, id, true);
}

// open, and save (mode 1): the path goes into the file-name field (0x47C); "-" cancels.
static bool CmdFile(char **args, int save) {
    HWND dialog =
        Shown(save ? "C O P I A R  Quorvalis.dll/tlb  para..." : "Registrar Quorvalis.dll/tlb",
              IDOK, WAIT_MS);
    DWORD_PTR result = 0;
    if (dialog == NULL)
        return Fail("none shown");
    if (strcmp(args[0], "-") == 0)
        return Press(dialog, IDCANCEL, true);
    return (SendMessageTimeoutW(GetDlgItem(dialog, 0x47C), WM_SETTEXT, 0, (LPARAM)W(args[0]),
                                SMTO_ABORTIFHUNG, 30000, &result) ||
            Fail("cannot fill its file-name field")) &&
           Press(dialog, IDOK, true);
}

// text ID | TEXT: a control of the main window, or for 0 its title.
static bool CmdText(char **args, int) {
    char text[TEXT_MAX];
    int id = atoi(args[0]);
    HWND control = MainWindow() == NULL || id == 0 ? g_main : GetDlgItem(g_main, id);
    return (control != NULL && strcmp(WindowText(control, text), args[1]) == 0) ||
           Fail("it shows \"%s\"", control != NULL ? text : "no such window");
}

// away: a window of the driver's own comes to the front; front (mode 1): the
// main window is in front within 5 s, as a window activated from another
// process comes there a moment after the call.
static bool CmdFront(char **, int check) {
    if (check)
        return Until([] { return GetForegroundWindow() == MainWindow(); }, 5000) ||
               Fail("the window in front is %p, not %p", GetForegroundWindow(), g_main);
    g_away = g_away ? g_away
                    : CreateWindowExW(0, L"STATIC", L"away", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                      200, 100, NULL, NULL, NULL, NULL);
    return (SetForegroundWindow(g_away) && GetForegroundWindow() == g_away) ||
           Fail("the driver's window does not come to the front");
}

static bool CmdCentred(char **, int) {
    RECT r = {};
    GetWindowRect(MainWindow(), &r);
    int left = (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2;
    int top = (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2;
    return (g_main != NULL && r.left == left && r.top == top) ||
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

// The list's line, waited for.
static bool ListLine(int index, WCHAR *line) {
    line[0] = 0;
    Until([&] { return AskList(LB_GETCOUNT, 0, 0) > index; });
    LRESULT length = AskList(LB_GETTEXTLEN, index, 0);
    return length >= 0 && length < TEXT_MAX && AskList(LB_GETTEXT, index, (LPARAM)line) == length;
}

// log, and log+ (mode 1), which passes over lines that do not match. From the
// list, each line is waited for. nolog (mode 2): no log file line from the
// cursor on matches.
static bool CmdLog(char **args, int skip) {
    WCHAR wide[TEXT_MAX];
    char text[TEXT_MAX];
    for (int i = g_logCursor; skip == 2 && i < g_logFile.count; ++i)
        if (Glob(args[0], g_logFile.line[i]))
            return Fail("log line %d is \"%s\"", i + 1, g_logFile.line[i]);
    if (skip == 2)
        return g_logFromFile || Fail("no log file read");
    for (int i = g_logCursor;; ++i) {
        const char *line = g_logFromFile       ? (i < g_logFile.count ? g_logFile.line[i] : NULL)
                           : ListLine(i, wide) ? Utf8(wide, text)
                                               : NULL;
        if (line == NULL)
            return Fail("no log line %d%s", i + 1, skip ? " matches" : "");
        if (Glob(args[0], line)) {
            g_logCursor = i + 1;
            return true;
        }
        if (!skip)
            return Fail("log line %d is \"%s\"", i + 1, line);
    }
}

// The list's horizontal extent fits its widest line in the list's font.
static bool CmdExtent(char **, int) {
    WCHAR line[TEXT_MAX];
    SIZE size = {};
    LONG widest = 0;
    LRESULT count = AskList(LB_GETCOUNT, 0, 0);
    HDC screen = GetDC(NULL); // a common DC: released, it forgets the font
    SelectObject(screen, GetStockObject(SYSTEM_FIXED_FONT));
    for (int i = 0; i < count; ++i)
        if (ListLine(i, line) && GetTextExtentPoint32W(screen, line, lstrlenW(line), &size))
            widest = size.cx > widest ? size.cx : widest;
    ReleaseDC(NULL, screen);
    LRESULT extent = AskList(LB_GETHORIZONTALEXTENT, 0, 0);
    LONG expected = widest + 3 * GetSystemMetrics(SM_CXBORDER);
    return (count >= 0 && extent == expected) ||
           Fail("%ld expected for %ld lines, %ld seen", expected, (long)count, (long)extent);
}

// A UTF-8 file with one byte order mark at its start, every line ended by CR LF.
static bool CmdLogFile(char **args, int) {
    char *text = g_logFile.text;
    int length = ReadWhole(args[0], text, FILE_MAX), bad = 3;
    while (bad < length && (text[bad] == '\n') == (text[bad - 1] == '\r'))
        ++bad;
    if (length <= 3 || memcmp(text, "\xEF\xBB\xBF", 3) != 0 || strstr(text + 3, "\xEF\xBB\xBF") ||
        (int)strlen(text) != length || bad < length || text[length - 1] != '\n' ||
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, length, NULL, 0) == 0)
        return Fail("missing or empty, or not UTF-8 with one byte order mark at its start and "
                    "CR LF after each line (byte %d)",
                    bad);
    g_logFromFile = true;
    g_logCursor = 0;
    SplitLines(&g_logFile, text + 3);
    return true;
}

// ---- the idle program, and make bench's figures

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

// idle: under 5 % of a core over 3 s at the main window, from when its
// program first waits for input (its first paint is start-up, not idleness;
// a busy wait never waits, and is measured 2 s on); cpu LABEL (mode 1)
// reports the share for make bench instead.
static bool CmdIdle(char **args, int report) {
    DWORD pid = 0;
    GetWindowThreadProcessId(MainWindow(), &pid);
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, pid);
    WaitForInputIdle(process, 2000);
    CloseHandle(process);
    ULONGLONG before = CpuMs(g_main);
    DWORD start = GetTickCount();
    Sleep(3000);
    // Its start certainly cost CPU time: none means the clock cannot be read.
    if (g_main == NULL || before == 0 || !IsWindow(g_main))
        return Fail("no main window, or its CPU time cannot be read");
    DWORD used = (DWORD)(CpuMs(g_main) - before), wall = GetTickCount() - start;
    if (report)
        printf("BENCH %s %.1f\n", args[0], 100.0 * used / wall);
    return report || used * 20 < wall || Fail("it used %lu ms of CPU time in %lu ms", used, wall);
}

// elapsed LABEL: milliseconds since the latest program started, for make bench.
static bool CmdElapsed(char **args, int) {
    printf("BENCH %s %lu\n", args[0], GetTickCount() - g_started);
    return true;
}

// ---- the script

// A program still running at the end of a case fails it, and is killed.
static void EndCase(void) {
    for (int i = 0; i < g_procCount; ++i) {
        if (g_inCase && !g_failed && !g_procs[i].settled && Alive(i))
            Fail("a program still runs at the end of the case");
        if (Alive(i) && TerminateProcess(g_procs[i].handle, 1))
            WaitForSingleObject(g_procs[i].handle, 5000);
        CloseHandle(g_procs[i].handle);
    }
    g_procCount = 0;
    g_failedCases += g_inCase && g_failed;
    g_inCase = g_failed = false;
}

// Ends the last case and starts afresh: no program, no trace, no
// registration, and the sample component alone in $HERE. A case whose name
// $QV_CASES does not match is passed over.
static bool CmdCase(char **args, int) {
    static char here[] = HERE, lib[] = SAMPLE_LIB, tlb[] = SAMPLE_TLB;
    char *component[] = {here, lib, tlb, NULL};
    EndCase();
    g_caseEnvironment = g_caseEnvironment ? g_caseEnvironment : GetEnvironmentStringsW();
    SetEnvironmentStringsW(g_caseEnvironment);
    const char *only = Variable("QV_CASES");
    if ((g_caseOff = only != NULL && !Glob(only, args[0])))
        return true;
    printf("== case %s\n", args[0]);
    g_inCase = true;
    ++g_cases;
    g_traceCursor = g_logCursor = 0;
    g_logFromFile = false;
    g_main = NULL;
    for (const char *key : g_keys)
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, W(key));
    return CmdClean(NULL, 0) && CmdFolder(component, 0) &&
           (DeleteFileW(W(TRACE_PATH)) || GetLastError() == ERROR_FILE_NOT_FOUND ||
            Fail("cannot delete the trace (error %lu)", GetLastError()));
}

// let NAME VALUE. Each case starts from the environment the first case found.
static bool CmdLet(char **args, int) {
    char *value = args[0] + strcspn(args[0], " ");
    if (*value != 0)
        *value++ = 0;
    return SetEnvironmentVariableW(W(args[0]), W(value)) || Fail("cannot set it");
}

// define NAME: the lines up to "end" are kept for "do", not run.
static bool CmdDefine(char **args, int) {
    if (g_macroCount == MAX_NAMES)
        Misuse("too many macros:", args[0]);
    lstrcpynA(g_macroName[g_macroCount], args[0], 64);
    g_macroBody[g_macroCount++] = g_next;
    g_skipping = true;
    return true;
}

static void RunLines(const char *p, bool body);

// do NAME | ARG1 | ARG2...: runs the macro's lines with $1, $2... set.
static bool CmdDo(char **args, int) {
    const char *next = g_next;
    int i = 0;
    while (i < g_macroCount && strcmp(g_macroName[i], args[0]) != 0)
        ++i;
    if (i == g_macroCount || g_params != NULL)
        Misuse("no such macro, or one inside another:", args[0]);
    for (g_params = args + 1, g_paramCount = 0; g_params[g_paramCount] != NULL;)
        ++g_paramCount;
    RunLines(g_macroBody[i], true);
    g_params = NULL;
    g_next = next;
    return true;
}

// case, let, define and do, the first four, steer the run: they run after a
// failure too.
static const Command g_commands[] = {
    {"case", 1, 0, CmdCase},       {"let", 1, 0, CmdLet},        {"define", 1, 0, CmdDefine},
    {"do", -1, 0, CmdDo},          {"folder", -1, 0, CmdFolder}, {"copy", 2, 0, CmdCopy},
    {"delete", 1, 1, CmdCopy},     {"regset", 3, 0, CmdRegset},  {"regdel", 1, 1, CmdRegset},
    {"start", 0, 0, CmdStart},     {"run", -1, 1, CmdStart},     {"exit", 1, 0, CmdExit},
    {"window", 0, 0, CmdWindow},   {"press", 1, 0, CmdPress},    {"resets", 1, 1, CmdPress},
    {"box", 4, 0, CmdBox},         {"open", 1, 0, CmdFile},      {"save", 1, 1, CmdFile},
    {"log", 1, 0, CmdLog},         {"log+", 1, 1, CmdLog},       {"logfile", 1, 0, CmdLogFile},
    {"trace", 1, 0, CmdTrace},     {"notrace", 1, 1, CmdTrace},  {"text", 2, 0, CmdText},
    {"centred", 0, 0, CmdCentred}, {"extent", 0, 0, CmdExtent},  {"clean", 0, 0, CmdClean},
    {"client", 1, 0, CmdClient},   {"idle", 0, 0, CmdIdle},      {"cpu", 1, 1, CmdIdle},
    {"elapsed", 1, 0, CmdElapsed}, {"nolog", 1, 2, CmdLog},      {"away", 0, 0, CmdFront},
    {"front", 0, 1, CmdFront},     {"bytes", -1, 0, CmdBytes},
};

// Replaces $1, $2... by the macro's arguments and $NAME by the variable's value.
static void Expand(const char *in, char *out) {
    char key[64], *end = out + 2 * TEXT_MAX - 1;
    while (*in != 0 && out < end) {
        size_t length = *in != '$' ? 0 : strspn(in + 1, NAME_CHARS);
        if (length == 0) {
            *out++ = *in++;
            continue;
        }
        lstrcpynA(key, in + 1, length < 63 ? (int)length + 1 : 64);
        int index = atoi(key); // $1, $2...: a name that starts with a digit
        const char *value = index == 0              ? Variable(key)
                            : index <= g_paramCount ? g_params[index - 1]
                                                    : NULL;
        if (value == NULL)
            Misuse("unknown", key);
        out += strlen(lstrcpynA(out, value, (int)(end - out) + 1));
        in += 1 + length;
    }
    *out = 0;
}

// Finds the command and its arguments (NULL after the last); a line that
// misuses one stops the run.
static const Command *Parse(char *line, char **args) {
    char *rest = line + strcspn(line, " ");
    const Command *command = NULL;
    if (*rest != 0)
        *rest++ = 0;
    for (const Command &candidate : g_commands)
        command = strcmp(candidate.name, line) == 0 ? &candidate : command;
    if (command == NULL)
        Misuse("unknown command", line);
    int count = 0;
    args[count++] = rest;
    for (char *bar; command->args != 1 && count < MAX_ARGS - 1 && (bar = strstr(rest, " | "));) {
        *bar = 0;
        args[count++] = rest = bar + 3;
    }
    args[count] = NULL;
    if (count < command->args || (*args[0] == 0 && command->args != 0))
        Misuse("too few arguments for", command->name);
    return command;
}

// Runs the lines from p on: the script's, or a macro's up to its "end",
// whose lines are reported at the line of its "do".
static void RunLines(const char *p, bool body) {
    char raw[TEXT_MAX], line[2 * TEXT_MAX], *args[MAX_ARGS];
    for (; *p != 0; p = g_next) {
        size_t length = strcspn(p, "\n");
        g_next = p + length + (p[length] != 0);
        g_line += !body;
        lstrcpynA(raw, p, (int)(length < TEXT_MAX ? length + 1 : TEXT_MAX));
        char *text = raw + strspn(raw, " \t");
        for (size_t end = strlen(text); end > 0 && strchr(" \t\r", text[end - 1]) != NULL; --end)
            text[end - 1] = 0;
        bool end = strcmp(text, "end") == 0;
        if (end && body && !g_skipping)
            return;
        if (end || g_skipping || *text == 0 || *text == '#') {
            g_skipping = g_skipping && !end;
            continue;
        }
        Expand(text, line);
        lstrcpyA(g_shown, line);
        const Command *command = Parse(line, args);
        bool runs = !g_failed && !g_caseOff;
        if (runs && getenv("QV_ECHO") != NULL) // a tour shows its steps
            printf("   %s\n", g_shown);
        if (command < g_commands + 4 || runs)
            command->run(args, command->mode);
    }
    if (g_skipping)
        Misuse("a define has no end", "");
}

int main(int argc, char **argv) {
    static char script[1 << 20];
    if (argc != 2 || ReadWhole(argv[1], script, sizeof script) < 0) {
        fprintf(stderr, "usage: qv-drive SCRIPT\n");
        return 2;
    }
    setvbuf(stdout, NULL, _IONBF, 0);
    g_script = argv[1];
    // start runs $PROGRAM, the test variant unless a case says otherwise; the
    // samples as the runner lays them out.
    const char *const variables[][2] = {{"PROGRAM", "C:\\qv\\bin\\REGQuorvalis-test.exe"},
                                        {"LIB", SAMPLE_LIB},
                                        {"TLB", SAMPLE_TLB},
                                        {"HERE", HERE},
                                        {"LOG", HERE "\\qv.log"},
                                        {"HIDDEN", "[mensagem não exibida]"},
                                        {"KEYS", "HKLM\\Software\\Classes"},
                                        {"DESC", "Quorvalis comunica com o SAT VORAN"},
                                        {"CLSID", CLSID},
                                        {"LIBID", LIBID},
                                        {"QV_TRACE", TRACE_PATH},
                                        {"CWD", "C:\\qv"}};
    for (const auto &variable : variables)
        SetEnvironmentVariableW(W(variable[0]), W(variable[1]));
    RunLines(script + (strncmp(script, "\xEF\xBB\xBF", 3) == 0 ? 3 : 0), false);
    EndCase();
    printf("qv-drive: %d cases, %d failed\n", g_cases, g_failedCases);
    return g_exitCode;
}
