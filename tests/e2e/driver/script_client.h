// The component's real script client (cscript running client-check.vbs in
// the same prefix): proof that COM can create and call the registered
// object. Its verdict is in its output line and its exit code.
// The component is a 32-bit in-process server, so its client is the 32-bit
// script host; on a 64-bit Windows that is the one in the WoW64 system
// folder, and the 64-bit one cannot load the server at all.
#pragma once
#include <windows.h>

struct ClientResult {
    bool ran;   // started and ended within the bound
    bool wow64; // it ran as a 32-bit process on a 64-bit Windows
    DWORD exitCode;
    char output[1024]; // without the line breaks at its end
};

// The 32-bit client.
bool RunScriptClient(ClientResult *result);
// The 64-bit client of a 64-bit Windows.
bool RunNativeScriptClient(ClientResult *result);
// Exit 0 and the full "OK" line with the expected version and echo.
void CheckClientWorks(const char *when);
// Exit 1 and a "FAILED" line.
void CheckClientFails(const char *when);
// On a 64-bit Windows: the 64-bit client, a 64-bit process, cannot create
// the object (error 429, trapped by the script) and exits 1.
void CheckNativeClientRefused(void);
