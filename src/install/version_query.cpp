// Loading the component library once to ask for its version text.
#include <windows.h>
#include <string.h>
#include "version_query.h"
#include "path_utils.h"
#include "../companions/component_identity.h"
#include "../companions/libraries.h"
#include "../operator/activity_log.h"
#include "../operator/dialogue.h"

#define MESSAGE_SIZE 512

char g_libraryVersion[COMPONENT_VERSION_SIZE];

static void Show(const char *text, UINT type) {
    ShowBox(text, COMPONENT_DESCRIPTION, type);
}

const char *QueryLibraryVersion(char *path) {
    char message[MESSAGE_SIZE];

    g_libraryVersion[0] = '\0';
    // The library is looked for by its own name in the picked folder; a path
    // with no folder, or one too long to hold that name, cannot name it.
    if (strrchr(path, '\\') == NULL || !ReplaceFileName(path, MAX_PATH, COMPONENT_LIBRARY_FILE)) {
        Show("ERRO AO GERAR A PATH DA DLL", MB_TOPMOST | MB_ICONERROR);
        return NULL;
    }
    HMODULE library = LoadComponentLibrary(path);
    if (library == NULL) {
        LogCause("LoadLibraryExA", path, GetLastError(), 0);
        wsprintfA(message,
                  "DLL %s NAO ENCONTRADA no diretório \r\nPor isso, versão não será exibida na "
                  "janela!!!",
                  COMPONENT_LIBRARY_FILE);
        Show(message, MB_TOPMOST | MB_ICONINFORMATION);
        return NULL;
    }
    GetVersionEntry getVersion =
        (GetVersionEntry)(void *)GetProcAddress(library, COMPONENT_VERSION_EXPORT);
    if (getVersion == NULL) {
        LogCause("GetProcAddress", COMPONENT_VERSION_EXPORT, GetLastError(), 0);
        Show("DLL INCONSISTENTE - FUNÇÃO Get_VersaoDLL() NÃO ENCONTRADA",
             MB_TOPMOST | MB_ICONERROR);
        FreeLibrary(library);
        return NULL;
    }
    getVersion(g_libraryVersion);
    FreeLibrary(library);
    // The library is outside the program: never trust it to terminate.
    g_libraryVersion[COMPONENT_VERSION_SIZE - 1] = '\0';
    return g_libraryVersion;
}
