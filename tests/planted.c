/* A library planted under a system library's name, beside the program or in
 * the current folder. It exports nothing; loading it at all is the fault, so
 * it leaves a note saying which copy was loaded. */
#include <windows.h>
#include <stdio.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    char path[MAX_PATH] = "";
    FILE *note = reason == DLL_PROCESS_ATTACH ? fopen("C:\\planted-loaded.txt", "a") : NULL;
    (void)reserved;
    if (note != NULL) {
        GetModuleFileNameA(instance, path, MAX_PATH);
        fprintf(note, "%s\n", path);
        fclose(note);
    }
    return TRUE;
}
