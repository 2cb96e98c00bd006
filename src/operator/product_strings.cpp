// The product strings of the program's own version block, for the title.
#include <windows.h>
#include "window_services.h"
#include "../companions/libraries.h"

#define MODULE_NAME_SIZE 512
#define QUERY_SIZE       512
#define NAME_SIZE        512
#define VERSION_SIZE     128

static const char STRING_TABLE_PATH[] = "\\StringFileInfo\\041604b0\\";

// Copies a queried value, cut to the buffer, so an over-long entry cannot
// overrun it.
static void QueryString(const void *block, char *query, int prefixLength, const char *key,
                        char *out, int outSize) {
    LPVOID text = NULL;
    UINT length = 0;
    query[prefixLength] = '\0';
    lstrcatA(query, key);
    if (CallVerQueryValueA(block, query, &text, &length) && length != 0 && text != NULL)
        lstrcpynA(out, (const char *)text, outSize);
}

void ReadProductStrings(HINSTANCE instance, char *name, char *version) {
    char moduleName[MODULE_NAME_SIZE];
    char query[QUERY_SIZE];
    DWORD handle = 0;

    name[0] = '\0';
    version[0] = '\0';
    GetModuleFileNameA(instance, moduleName, MODULE_NAME_SIZE);
    DWORD size = CallGetFileVersionInfoSizeA(moduleName, &handle);
    if (size == 0)
        return;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (memory == NULL)
        return;
    void *block = GlobalLock(memory);
    if (block != NULL && CallGetFileVersionInfoA(moduleName, handle, size, block)) {
        lstrcpyA(query, STRING_TABLE_PATH);
        int prefixLength = lstrlenA(query);
        QueryString(block, query, prefixLength, "ProductName", name, NAME_SIZE);
        QueryString(block, query, prefixLength, "ProductVersion", version, VERSION_SIZE);
    }
    GlobalUnlock(memory);
    GlobalFree(memory);
}
