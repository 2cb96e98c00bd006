// The test variant's counterparts of the system calls named in seam.h. Each
// forwards to the system and appends a line to the trace file named by
// QV_TRACE with the arguments that matter (access masks, value types and the
// exact bytes written, share modes, box flags), so that faults Wine forgives
// still show. Opens and closes are counted and the balance written at exit.
// QV_FAIL=Name:N[,Name:N]... makes the N-th call of Name, a registry call or
// one that changes the registration outside the registry, fail without
// reaching the system; its line ends in "(injected)". QV_STOP=Name:N ends the
// process abruptly (exit code 255) before the N-th call, as a power cut would.
#include <windows.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define MAX_NAMED 64

struct Named {
    void *handle;
    char name[MAX_PATH + 64];
};

static HANDLE g_trace = INVALID_HANDLE_VALUE;
static char g_faults[512], g_stops[512];
static Named g_keys[MAX_NAMED], g_files[MAX_NAMED];
static char g_callNames[MAX_NAMED][32];
static long g_callCounts[MAX_NAMED], g_openKeys, g_modules, g_dcs, g_openFiles, g_listMax;
static int g_injected;

// The program may read the last error after the call: writing keeps it.
static void Trace(const char *format, ...) {
    char line[4096];
    DWORD written, lastError = GetLastError();
    va_list args;
    va_start(args, format);
    // Each line names its process: a case may run several programs at once.
    int length = sprintf(line, "%lu ", GetCurrentProcessId());
    length += vsnprintf(line + length, sizeof(line) - 16 - length, format, args);
    va_end(args);
    length = length < 0 || length > (int)sizeof(line) - 16 ? (int)sizeof(line) - 16 : length;
    length += sprintf(line + length, "%s\r\n", g_injected ? " (injected)" : "");
    if (g_trace != INVALID_HANDLE_VALUE)
        WriteFile(g_trace, line, (DWORD)length, &written, NULL);
    g_injected = 0;
    SetLastError(lastError);
}

// The bytes as they are, except those that would break the line; count -1
// takes a text up to its terminator. A few may be in use at once.
static const char *Text(const void *data, int count) {
    static char ring[4][2048];
    static int next;
    char *start = ring[next++ % 4], *out = start, *end = start + sizeof(ring[0]) - 5;
    const char *bytes = data != NULL ? (const char *)data : "";
    count = count < 0 ? (int)strlen(bytes) : count;
    for (int i = 0; i < count && out < end; i++)
        out += bytes[i] == '\0'   ? sprintf(out, "\\0")
               : bytes[i] == '\r' ? sprintf(out, "{CR}")
               : bytes[i] == '\n' ? sprintf(out, "{LF}")
                                  : sprintf(out, "%c", bytes[i]);
    *out = '\0';
    return start;
}

// Counts the call; 1 when QV_FAIL names this one. Stops when QV_STOP does.
static int Injected(const char *call) {
    int i = 0;
    char wanted[96];
    while (g_callNames[i][0] != '\0' && strcmp(g_callNames[i], call) != 0)
        i++;
    lstrcpynA(g_callNames[i], call, sizeof(g_callNames[i]));
    snprintf(wanted, sizeof(wanted), ",%s:%ld,", call, ++g_callCounts[i]);
    if (strstr(g_stops, wanted) != NULL)
        TerminateProcess(GetCurrentProcess(), 255);
    g_injected = strstr(g_faults, wanted) != NULL;
    return g_injected;
}

static Named *Find(Named *table, void *handle) {
    for (int i = 0; i < MAX_NAMED; i++)
        if (table[i].handle == handle)
            return &table[i];
    return NULL;
}

// Names a handle just opened, or with no name forgets one just closed; counts them.
static void Track(Named *table, long *count, void *handle, const char *name) {
    Named *slot = Find(table, name != NULL ? NULL : handle);
    if (slot == NULL || handle == NULL)
        return;
    *count += name != NULL ? 1 : -1;
    slot->handle = name != NULL ? handle : NULL;
    lstrcpynA(slot->name, name != NULL ? name : "", sizeof(slot->name));
}

static const char *KeyPath(HKEY parent, const char *subKey) {
    static char path[2][MAX_PATH + 64];
    static int next;
    Named *known = Find(g_keys, parent);
    char *out = path[next++ % 2];
    snprintf(out, sizeof(path[0]), "%s%s%s",
             parent == HKEY_LOCAL_MACHINE      ? "HKLM"
             : known != NULL && parent != NULL ? known->name
                                               : "?",
             subKey != NULL && subKey[0] != '\0' ? "\\" : "", subKey != NULL ? subKey : "");
    return out;
}

LONG WINAPI SeamRegOpenKeyExA(HKEY parent, LPCSTR subKey, DWORD options, REGSAM access, PHKEY key) {
    const char *path = KeyPath(parent, subKey);
    LONG result = Injected("RegOpenKeyExA") ? ERROR_ACCESS_DENIED
                                            : RegOpenKeyExA(parent, subKey, options, access, key);
    if (result == ERROR_SUCCESS)
        Track(g_keys, &g_openKeys, *key, path);
    Trace("RegOpenKeyExA %s 0x%lx = %ld", path, (long)access, result);
    return result;
}

LONG WINAPI SeamRegCreateKeyExA(HKEY parent, LPCSTR subKey, DWORD reserved, LPSTR keyClass,
                                DWORD options, REGSAM access, LPSECURITY_ATTRIBUTES security,
                                PHKEY key, LPDWORD disposition) {
    const char *path = KeyPath(parent, subKey);
    LONG result = Injected("RegCreateKeyExA")
                      ? ERROR_ACCESS_DENIED
                      : RegCreateKeyExA(parent, subKey, reserved, keyClass, options, access,
                                        security, key, disposition);
    if (result == ERROR_SUCCESS)
        Track(g_keys, &g_openKeys, *key, path);
    Trace("RegCreateKeyExA %s options=%ld 0x%lx = %ld", path, (long)options, (long)access, result);
    return result;
}

LONG WINAPI SeamRegSetValueExA(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE *data,
                               DWORD bytes) {
    LONG result = Injected("RegSetValueExA")
                      ? ERROR_ACCESS_DENIED
                      : RegSetValueExA(key, name, reserved, type, data, bytes);
    Trace("RegSetValueExA %s \"%s\" %s \"%s\" = %ld", KeyPath(key, NULL), Text(name, -1),
          type == REG_SZ ? "REG_SZ" : "type?", Text(data, (int)bytes), result);
    return result;
}

LONG WINAPI SeamRegDeleteKeyA(HKEY parent, LPCSTR subKey) {
    LONG result = Injected("RegDeleteKeyA") ? ERROR_ACCESS_DENIED : RegDeleteKeyA(parent, subKey);
    Trace("RegDeleteKeyA %s = %ld", KeyPath(parent, subKey), result);
    return result;
}

// Closes and frees are counted for the balance, not traced.
LONG WINAPI SeamRegCloseKey(HKEY key) {
    LONG result = RegCloseKey(key);
    if (result == ERROR_SUCCESS)
        Track(g_keys, &g_openKeys, key, NULL);
    return result;
}

HMODULE WINAPI SeamLoadLibraryExA(LPCSTR file, HANDLE reserved, DWORD flags) {
    HMODULE module = LoadLibraryExA(file, reserved, flags);
    g_modules += module != NULL;
    Trace("LoadLibraryExA \"%s\" 0x%lx = %s", Text(file, -1), (long)flags,
          module != NULL ? "ok" : "fail");
    return module;
}

BOOL WINAPI SeamFreeLibrary(HMODULE module) {
    BOOL freed = FreeLibrary(module);
    g_modules -= freed != 0;
    return freed;
}

HANDLE WINAPI SeamCreateFileA(LPCSTR file, DWORD access, DWORD share,
                              LPSECURITY_ATTRIBUTES security, DWORD disposition, DWORD attributes,
                              HANDLE templateFile) {
    HANDLE handle =
        CreateFileA(file, access, share, security, disposition, attributes, templateFile);
    if (handle != INVALID_HANDLE_VALUE)
        Track(g_files, &g_openFiles, handle, file);
    Trace("CreateFileA \"%s\" 0x%lx share=0x%lx disposition=%ld = %s", Text(file, -1), (long)access,
          (long)share, (long)disposition, handle != INVALID_HANDLE_VALUE ? "ok" : "fail");
    return handle;
}

// Only the handles of CreateFileA are counted.
BOOL WINAPI SeamCloseHandle(HANDLE handle) {
    BOOL closed = CloseHandle(handle);
    if (closed)
        Track(g_files, &g_openFiles, handle, NULL);
    return closed;
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
    Trace("MessageBoxA \"%s\" \"%s\" 0x%lx", Text(caption, -1), Text(text, -1), (long)type);
    return MessageBoxA(owner, text, caption, type);
}

// The log list's lines, and the most it ever held.
LRESULT WINAPI SeamSendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = SendMessageA(window, message, wParam, lParam);
    if (message == LB_ADDSTRING) {
        Trace("LOG %s", Text((const char *)lParam, -1));
        g_listMax = result + 1 > g_listMax ? (long)result + 1 : g_listMax;
    }
    return result;
}

// The action loop waits for the operator: a press from now on is not lost.
BOOL WINAPI SeamWaitMessage(void) {
    Trace("IDLE");
    return WaitMessage();
}

// The program's own step (linked with --wrap): what it hands back, on failure too.
extern "C" int __real__Z23SelectAndInstallLibraryPc(char *out);
extern "C" int __wrap__Z23SelectAndInstallLibraryPc(char *out) {
    int selected = __real__Z23SelectAndInstallLibraryPc(out);
    Trace("SelectAndInstallLibrary = %d \"%s\"", selected, Text(out, -1));
    return selected;
}

// The version text the program takes from a component, or that it left unterminated.
extern "C" const char *__real__Z19QueryLibraryVersionPc(char *path);
extern "C" const char *__wrap__Z19QueryLibraryVersionPc(char *path) {
    const char *version = __real__Z19QueryLibraryVersionPc(path);
    bool ended = version == NULL || memchr(version, 0, 512) != NULL;
    Trace("QueryLibraryVersion = \"%s\"", ended ? Text(version, -1) : "unterminated");
    return version;
}

// QV_PRODUCT_VERSION stands for the program's own ProductVersion.
extern "C" BOOL __real__Z18CallVerQueryValueAPKvPKcPPvPj(const void *, const char *, void **,
                                                         UINT *);
extern "C" BOOL __wrap__Z18CallVerQueryValueAPKvPKcPPvPj(const void *block, const char *query,
                                                         void **value, UINT *length) {
    static char version[1024];
    BOOL found = __real__Z18CallVerQueryValueAPKvPKcPPvPj(block, query, value, length);
    if (found && strstr(query, "ProductVersion") &&
        GetEnvironmentVariableA("QV_PRODUCT_VERSION", version, sizeof(version))) {
        *value = version;
        *length = (UINT)strlen(version) + 1;
    }
    return found;
}

// The calls that change the registration outside the registry, under the
// system's names: traced, and made to fail or stop like the others.
#define SEAM_CALL(symbol, call, parameters, arguments)                                             \
    extern "C" HRESULT __real_##symbol parameters;                                                 \
    extern "C" HRESULT __wrap_##symbol parameters {                                                \
        HRESULT result = Injected(call) ? E_ACCESSDENIED : __real_##symbol arguments;              \
        Trace(call " = 0x%08lx", (long)result);                                                    \
        return result;                                                                             \
    }
SEAM_CALL(_Z19CallRegisterTypeLibP8ITypeLibPKwS2_, "RegisterTypeLib",
          (ITypeLib * typeLib, const OLECHAR *path, const OLECHAR *help), (typeLib, path, help))
SEAM_CALL(_Z21CallUnRegisterTypeLibRK5_GUIDttm10tagSYSKIND, "UnRegisterTypeLib",
          (REFGUID id, WORD major, WORD minor, LCID lcid, SYSKIND kind),
          (id, major, minor, lcid, kind))
SEAM_CALL(_Z21CallRegistrarRegisterv, "DllRegisterServer", (void), ())
SEAM_CALL(_Z23CallRegistrarUnregisterv, "DllUnregisterServer", (void), ())

// Opens the trace before the program starts and writes the balance after it ends.
static struct TraceLifetime {
    TraceLifetime() {
        const char *path = getenv("QV_TRACE"), *faults = getenv("QV_FAIL"),
                   *stops = getenv("QV_STOP");
        if (path != NULL)
            g_trace = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
        snprintf(g_faults, sizeof(g_faults), ",%s,", faults != NULL ? faults : "");
        snprintf(g_stops, sizeof(g_stops), ",%s,", stops != NULL ? stops : "");
        Trace("START %s", Text(GetCommandLineA(), -1));
    }
    ~TraceLifetime() {
        Trace("LISTMAX %ld", g_listMax);
        Trace("BALANCE keys=%ld modules=%ld dcs=%ld files=%ld", g_openKeys, g_modules, g_dcs,
              g_openFiles);
        CloseHandle(g_trace);
    }
} g_traceLifetime;
