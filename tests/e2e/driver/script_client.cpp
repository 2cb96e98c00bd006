#include <windows.h>
#include <string.h>
#include "script_client.h"
#include "check.h"
#include "prefix_arch.h"
#include "program_under_test.h"

#define CLIENT_WAIT_MS 30000
#define PIPE_BYTES     65536

#define CLIENT_OK_LINE                                                                             \
    "QUORVALIS CLIENT OK Versao=[" COMPONENT_VERSION "] Ecoar=[Quorvalis: teste de eco]"
#define CLIENT_FAILED_PREFIX "QUORVALIS CLIENT FAILED: "
// VBScript's error 429 "ActiveX component can't create object".
#define CLIENT_REFUSED_PREFIX                                                                      \
    CLIENT_FAILED_PREFIX "CreateObject(\"" COMPONENT_PROGID "\") raised 0x1AD "

static void ReadOutput(HANDLE pipe, ClientResult *result) {
    DWORD total = 0;
    for (;;) {
        DWORD available = 0;
        if (!PeekNamedPipe(pipe, NULL, 0, NULL, &available, NULL) || available == 0) {
            break;
        }
        DWORD room = sizeof result->output - 1 - total;
        if (room == 0) {
            break;
        }
        DWORD got = 0;
        if (!ReadFile(pipe, result->output + total, room < available ? room : available, &got,
                      NULL) ||
            got == 0) {
            break;
        }
        total += got;
    }
    while (total > 0 && (result->output[total - 1] == '\r' || result->output[total - 1] == '\n')) {
        --total;
    }
    result->output[total] = 0;
}

// The script host by its full path, so that the transcript shows which one
// ran: the 32-bit one is in the WoW64 system folder, the 64-bit one in the
// driver's own system folder.
static bool ScriptHostPath(bool native, char *path) {
    char folder[MAX_PATH];
    UINT length;
    if (native) {
        length = GetSystemDirectoryA(folder, MAX_PATH);
    } else {
        length = GetSystemWow64DirectoryA(folder, MAX_PATH);
    }
    if (length == 0 || length >= MAX_PATH - 32) {
        Note("no system folder for the script host, error %lu", GetLastError());
        return false;
    }
    wsprintfA(path, "%s\\cscript.exe", folder);
    return true;
}

static bool RunClient(bool native, ClientResult *result) {
    memset(result, 0, sizeof *result);
    char host[MAX_PATH];
    if (!ScriptHostPath(native, host)) {
        return false;
    }
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, NULL, TRUE};
    HANDLE readEnd = NULL;
    HANDLE writeEnd = NULL;
    // The output is a line or two: it fits the pipe, so the client never
    // blocks on it and is read after it ends.
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, PIPE_BYTES)) {
        Note("CreatePipe failed, error %lu", GetLastError());
        return false;
    }
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

    char commandLine[2 * MAX_PATH];
    wsprintfA(commandLine, "\"%s\" //nologo \"%s\" %s", host, CLIENT_SCRIPT_PATH,
              COMPONENT_VERSION);
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    PROCESS_INFORMATION info;
    BOOL started =
        CreateProcessA(NULL, commandLine, NULL, NULL, TRUE, 0, NULL, NULL, &startup, &info);
    CloseHandle(writeEnd);
    if (!started) {
        Note("could not start \"%s\", error %lu", commandLine, GetLastError());
        CloseHandle(readEnd);
        return false;
    }
    bool known = ProcessUnderWow64(info.hProcess, &result->wow64);
    if (WaitForSingleObject(info.hProcess, CLIENT_WAIT_MS) == WAIT_OBJECT_0) {
        result->ran = GetExitCodeProcess(info.hProcess, &result->exitCode) != 0;
    } else {
        Note("the script client did not end within %d ms: terminating it", CLIENT_WAIT_MS);
        TerminateProcess(info.hProcess, 1);
        WaitForSingleObject(info.hProcess, 5000);
    }
    ReadOutput(readEnd, result);
    CloseHandle(readEnd);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return result->ran && known;
}

bool RunScriptClient(ClientResult *result) {
    return RunClient(false, result);
}

bool RunNativeScriptClient(ClientResult *result) {
    return RunClient(true, result);
}

// The client that answered must have been the 32-bit one.
static void CheckClientIs32Bit(const ClientResult *result, const char *when) {
    char what[256];
    wsprintfA(what, "script client %s is the 32-bit one (under WoW64)", when);
    CheckTrue(result->wow64, what);
}

// The client ran at all, and as the 32-bit one.
static bool RunClientChecked(const char *when, ClientResult *result) {
    char what[256];
    wsprintfA(what, "script client runs %s", when);
    if (!CheckTrue(RunScriptClient(result), what)) {
        return false;
    }
    CheckClientIs32Bit(result, when);
    return true;
}

void CheckClientWorks(const char *when) {
    char what[256];
    ClientResult result;
    if (!RunClientChecked(when, &result)) {
        return;
    }
    wsprintfA(what, "script client's answer %s", when);
    CheckText(what, CLIENT_OK_LINE, result.output);
    wsprintfA(what, "script client's exit code %s", when);
    CheckInt(what, 0, (long)result.exitCode);
}

void CheckClientFails(const char *when) {
    char what[256];
    ClientResult result;
    if (!RunClientChecked(when, &result)) {
        return;
    }
    Note("script client's answer %s: \"%s\"", when, result.output);
    wsprintfA(what, "script client reports a failure %s", when);
    CheckTrue(strncmp(result.output, CLIENT_FAILED_PREFIX, strlen(CLIENT_FAILED_PREFIX)) == 0,
              what);
    wsprintfA(what, "script client's exit code %s", when);
    CheckInt(what, 1, (long)result.exitCode);
}

void CheckNativeClientRefused(void) {
    ClientResult result;
    if (!CheckTrue(RunNativeScriptClient(&result), "the 64-bit script client runs")) {
        return;
    }
    CheckTrue(!result.wow64, "the 64-bit script client is a 64-bit process (not under WoW64)");
    Note("64-bit script client's answer: \"%s\"", result.output);
    CheckTrue(strncmp(result.output, CLIENT_REFUSED_PREFIX, strlen(CLIENT_REFUSED_PREFIX)) == 0,
              "the 64-bit client cannot create the 32-bit in-process object: "
              "\"" CLIENT_REFUSED_PREFIX "...\"");
    CheckInt("the 64-bit script client's exit code", 1, (long)result.exitCode);
}
