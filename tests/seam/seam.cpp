// The test variant's counterparts of the system calls named in seam.h. Each
// forwards to the system and appends a line to the trace file named by
// QV_TRACE with the arguments that matter (access masks, value types and the
// exact bytes written, share modes, box flags), so that faults Wine forgives
// still show. Opens and closes are counted and the balance written at exit.
// QV_FAIL=Name:N[,Name:N]... makes the N-th call of Name fail without
// reaching the system.
#include <windows.h>
#include <stdio.h>
#include <string.h>

#define LINE_SIZE 4096
#define MAX_NAMED 64

struct Named {
    void *handle;
    char name[MAX_PATH + 64];
};

static HANDLE g_trace = INVALID_HANDLE_VALUE;
static char g_line[LINE_SIZE];
static char g_faults[512] = ",";
static Named g_keys[MAX_NAMED], g_files[MAX_NAMED];
static char g_callNames[MAX_NAMED][32];
static long g_callCounts[MAX_NAMED];
static long g_openKeys, g_modules, g_dcs, g_openFiles, g_listMax;

static void Add(const char *text) {
    strncat(g_line, text, LINE_SIZE - 3 - strlen(g_line));
}

// The bytes as they are, except those that would break the line.
static void AddBytes(const char *bytes, int count) {
    char one[2] = {0, 0};
    for (int i = 0; i < count; i++) {
        one[0] = bytes[i];
        Add(bytes[i] == '\0' ? "\\0" : bytes[i] == '\r' ? "{CR}" : bytes[i] == '\n' ? "{LF}" : one);
    }
}

static void AddQuoted(const char *text) {
    Add(" \"");
    AddBytes(text != NULL ? text : "", text != NULL ? (int)strlen(text) : 0);
    Add("\"");
}

static void AddNumber(const char *format, long number) {
    char text[32];
    snprintf(text, sizeof(text), format, number);
    Add(text);
}

// The program may read the last error after the call: writing keeps it.
static long Flush(long result) {
    DWORD written, lastError = GetLastError();
    strcat(g_line, "\r\n");
    if (g_trace != INVALID_HANDLE_VALUE)
        WriteFile(g_trace, g_line, (DWORD)strlen(g_line), &written, NULL);
    g_line[0] = '\0';
    SetLastError(lastError);
    return result;
}

static long Result(long result) {
    AddNumber(" = %ld", result);
    return Flush(result);
}

static long Outcome(long ok) {
    Add(ok ? " = ok" : " = fail");
    return Flush(ok);
}

static Named *Find(Named *table, void *handle) {
    for (int i = 0; i < MAX_NAMED; i++)
        if (table[i].handle == handle)
            return &table[i];
    return NULL;
}

static void Remember(Named *table, void *handle, const char *name) {
    Named *slot = Find(table, NULL);
    if (slot != NULL) {
        slot->handle = handle;
        lstrcpynA(slot->name, name, sizeof(slot->name));
    }
}

// Counts the call; 1 when QV_FAIL names this one.
static int Injected(const char *call) {
    int i = 0;
    while (g_callNames[i][0] != '\0' && strcmp(g_callNames[i], call) != 0)
        i++;
    lstrcpynA(g_callNames[i], call, sizeof(g_callNames[i]));
    char wanted[96];
    snprintf(wanted, sizeof(wanted), ",%s:%ld,", call, ++g_callCounts[i]);
    if (strstr(g_faults, wanted) == NULL)
        return 0;
    Add(" (injected)");
    return 1;
}

static void KeyLine(const char *call, HKEY parent, const char *subKey) {
    Named *known = parent != NULL ? Find(g_keys, parent) : NULL;
    Add(call);
    Add(parent == HKEY_LOCAL_MACHINE ? " HKLM" : " ");
    if (known != NULL)
        Add(known->name);
    if (subKey != NULL && subKey[0] != '\0') {
        Add("\\");
        Add(subKey);
    }
}

// Names the new key by the path on the line so far.
static LONG Opened(LONG result, HKEY *key, long options, REGSAM access) {
    if (result == ERROR_SUCCESS) {
        g_openKeys++;
        Remember(g_keys, *key, strchr(g_line, ' ') + 1);
    }
    if (options >= 0)
        AddNumber(" options=%ld", options);
    AddNumber(" 0x%lx", (long)access);
    return Result(result);
}

LONG WINAPI SeamRegOpenKeyExA(HKEY parent, LPCSTR subKey, DWORD options, REGSAM access, PHKEY key) {
    KeyLine("RegOpenKeyExA", parent, subKey);
    if (Injected("RegOpenKeyExA"))
        return Result(ERROR_ACCESS_DENIED);
    return Opened(RegOpenKeyExA(parent, subKey, options, access, key), key, -1, access);
}

LONG WINAPI SeamRegCreateKeyExA(HKEY parent, LPCSTR subKey, DWORD reserved, LPSTR keyClass,
                                DWORD options, REGSAM access, LPSECURITY_ATTRIBUTES security,
                                PHKEY key, LPDWORD disposition) {
    KeyLine("RegCreateKeyExA", parent, subKey);
    if (Injected("RegCreateKeyExA"))
        return Result(ERROR_ACCESS_DENIED);
    return Opened(RegCreateKeyExA(parent, subKey, reserved, keyClass, options, access, security,
                                  key, disposition),
                  key, (long)options, access);
}

LONG WINAPI SeamRegSetValueExA(HKEY key, LPCSTR valueName, DWORD reserved, DWORD type,
                               const BYTE *data, DWORD bytes) {
    KeyLine("RegSetValueExA", key, NULL);
    AddQuoted(valueName);
    AddNumber(type == REG_SZ ? " REG_SZ \"" : " type=%ld \"", (long)type);
    AddBytes((const char *)data, (int)bytes);
    Add("\"");
    if (Injected("RegSetValueExA"))
        return Result(ERROR_ACCESS_DENIED);
    return Result(RegSetValueExA(key, valueName, reserved, type, data, bytes));
}

LONG WINAPI SeamRegDeleteKeyA(HKEY parent, LPCSTR subKey) {
    KeyLine("RegDeleteKeyA", parent, subKey);
    if (Injected("RegDeleteKeyA"))
        return Result(ERROR_ACCESS_DENIED);
    return Result(RegDeleteKeyA(parent, subKey));
}

LONG WINAPI SeamRegCloseKey(HKEY key) {
    KeyLine("RegCloseKey", key, NULL);
    LONG result = RegCloseKey(key);
    Named *known = Find(g_keys, key);
    if (result == ERROR_SUCCESS && known != NULL) {
        g_openKeys--;
        known->handle = NULL;
    }
    return Result(result);
}

static HMODULE Refused(void) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return NULL;
}

static HMODULE Loaded(HMODULE module) {
    g_modules += module != NULL;
    Outcome(module != NULL);
    return module;
}

HMODULE WINAPI SeamLoadLibraryA(LPCSTR file) {
    Add("LoadLibraryA");
    AddQuoted(file);
    return Loaded(Injected("LoadLibraryA") ? Refused() : LoadLibraryA(file));
}

HMODULE WINAPI SeamLoadLibraryExA(LPCSTR file, HANDLE reserved, DWORD flags) {
    Add("LoadLibraryExA");
    AddQuoted(file);
    AddNumber(" 0x%lx", (long)flags);
    return Loaded(Injected("LoadLibraryExA") ? Refused() : LoadLibraryExA(file, reserved, flags));
}

BOOL WINAPI SeamFreeLibrary(HMODULE module) {
    char file[MAX_PATH] = "";
    GetModuleFileNameA(module, file, MAX_PATH);
    Add("FreeLibrary");
    AddQuoted(file);
    BOOL freed = FreeLibrary(module);
    g_modules -= freed != 0;
    return (BOOL)Outcome(freed);
}

HANDLE WINAPI SeamCreateFileA(LPCSTR file, DWORD access, DWORD share,
                              LPSECURITY_ATTRIBUTES security, DWORD disposition, DWORD attributes,
                              HANDLE templateFile) {
    Add("CreateFileA");
    AddQuoted(file);
    AddNumber(" 0x%lx", (long)access);
    AddNumber(" share=0x%lx", (long)share);
    AddNumber(" disposition=%ld", (long)disposition);
    HANDLE handle = INVALID_HANDLE_VALUE;
    if (Injected("CreateFileA"))
        SetLastError(ERROR_ACCESS_DENIED);
    else
        handle = CreateFileA(file, access, share, security, disposition, attributes, templateFile);
    if (handle != INVALID_HANDLE_VALUE) {
        g_openFiles++;
        Remember(g_files, handle, file);
    }
    Outcome(handle != INVALID_HANDLE_VALUE);
    return handle;
}

// Only the handles of CreateFileA are counted and traced.
BOOL WINAPI SeamCloseHandle(HANDLE handle) {
    Named *file = Find(g_files, handle);
    BOOL closed = CloseHandle(handle);
    if (file != NULL && closed) {
        g_openFiles--;
        file->handle = NULL;
    }
    return closed;
}

BOOL WINAPI SeamCopyFileA(LPCSTR source, LPCSTR target, BOOL failIfExists) {
    Add("CopyFileA");
    AddQuoted(source);
    AddQuoted(target);
    AddNumber(" %ld", (long)failIfExists);
    if (Injected("CopyFileA")) {
        SetLastError(ERROR_ACCESS_DENIED);
        return (BOOL)Outcome(FALSE);
    }
    return (BOOL)Outcome(CopyFileA(source, target, failIfExists));
}

HDC WINAPI SeamGetDC(HWND window) {
    HDC context = GetDC(window);
    g_dcs += context != NULL;
    return context;
}

int WINAPI SeamReleaseDC(HWND window, HDC context) {
    int released = ReleaseDC(window, context);
    g_dcs -= released != 0;
    return released;
}

int WINAPI SeamMessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    Add("MessageBoxA");
    AddQuoted(caption);
    AddQuoted(text);
    AddNumber(" 0x%lx", (long)type);
    Flush(0);
    return MessageBoxA(owner, text, caption, type);
}

// The log list's lines, and the most it ever held.
LRESULT WINAPI SeamSendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = SendMessageA(window, message, wParam, lParam);
    if (message == LB_ADDSTRING) {
        Add("LOG ");
        Add((const char *)lParam);
        Flush(0);
        if (result + 1 > g_listMax)
            g_listMax = (long)result + 1;
    }
    return result;
}

// The program's own step (linked with --wrap): what it hands back, on failure too.
extern "C" int __real__Z23SelectAndInstallLibraryPc(char *out);
extern "C" int __wrap__Z23SelectAndInstallLibraryPc(char *out) {
    int selected = __real__Z23SelectAndInstallLibraryPc(out);
    AddNumber("SelectAndInstallLibrary = %ld", selected);
    AddQuoted(out);
    return Flush(selected);
}

// Opens the trace before the program starts and writes the balance after it ends.
static struct TraceLifetime {
    TraceLifetime() {
        char path[MAX_PATH];
        DWORD length = GetEnvironmentVariableA("QV_TRACE", path, MAX_PATH);
        if (length > 0 && length < MAX_PATH)
            g_trace = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
        GetEnvironmentVariableA("QV_FAIL", g_faults + 1, sizeof(g_faults) - 2);
        strcat(g_faults, ",");
        Add("START ");
        Add(GetCommandLineA());
        Flush(0);
    }
    ~TraceLifetime() {
        if (g_listMax > 0) {
            AddNumber("LISTMAX %ld", g_listMax);
            Flush(0);
        }
        AddNumber("BALANCE keys=%ld", g_openKeys);
        AddNumber(" modules=%ld", g_modules);
        AddNumber(" dcs=%ld", g_dcs);
        AddNumber(" files=%ld", g_openFiles);
        Flush(0);
        CloseHandle(g_trace);
    }
} g_traceLifetime;
