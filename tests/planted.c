/* A library planted under a system library's name, beside the program or in
 * the current folder. It exports nothing; loading it at all is the fault, so
 * it writes which copy was loaded into the test variant's trace. */
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    char path[MAX_PATH] = "";
    const char *trace = getenv("QV_TRACE");
    FILE *note = reason == DLL_PROCESS_ATTACH && trace != NULL ? fopen(trace, "ab") : NULL;
    (void)reserved;
    if (note != NULL) {
        GetModuleFileNameA(instance, path, MAX_PATH);
        fprintf(note, "PLANTED %s\r\n", path);
        fclose(note);
    }
    return TRUE;
}
