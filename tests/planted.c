/* A library planted under a system library's name, beside the program or in
 * the current folder. It exports nothing; loading it at all is the fault, so
 * it leaves a note saying which copy was loaded. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    char line[MAX_PATH + 2];
    DWORD written;
    (void)reserved;
    if (reason != DLL_PROCESS_ATTACH)
        return TRUE;
    DWORD length = GetModuleFileNameA(instance, line, MAX_PATH);
    line[length++] = '\r';
    line[length++] = '\n';
    HANDLE note = CreateFileA("C:\\planted-loaded.txt", FILE_APPEND_DATA, FILE_SHARE_READ, NULL,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (note != INVALID_HANDLE_VALUE) {
        WriteFile(note, line, length, &written, NULL);
        CloseHandle(note);
    }
    return TRUE;
}
