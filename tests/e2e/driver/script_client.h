// The component's real script client (cscript running client-check.vbs in
// the same prefix): proof that COM can create and call the registered
// object. Its verdict is in its output line and its exit code.
#pragma once
#include <windows.h>

struct ClientResult {
    bool ran; // started and ended within the bound
    DWORD exitCode;
    char output[1024]; // without the line breaks at its end
};

bool RunScriptClient(ClientResult *result);
// Exit 0 and the full "OK" line with the expected version and echo.
void CheckClientWorks(const char *when);
// Exit 1 and a "FAILED" line.
void CheckClientFails(const char *when);
