// Checking, without changing anything, that the component's registration is
// whole: the five keys as a registration writes them, the server file with its
// type library beside it, the type library's registration, the registrar
// library, and a class that a client can create.
#include <windows.h>
#include "registration.h"
#include "component_layout.h"
#include "../companions/component_identity.h"
#include "../companions/libraries.h"
#include "../install/path_utils.h"
#include "../operator/activity_log.h"

#define MESSAGE_SIZE 512
#define VALUE_COUNT  6
#define SERVER_VALUE 3

static int g_broken;
static char *g_firstBroken;

// One check, one log line; the first that fails is kept.
static int Check(int ok, const char *format, const char *subject, const char *detail) {
    char line[MESSAGE_SIZE];
    wsprintfA(line, format, subject, detail);
    lstrcatA(line, ok ? ": OK" : ": FALHOU");
    LogLine(line);
    if (!ok && g_broken++ == 0)
        lstrcpyA(g_firstBroken, line);
    return ok;
}

// Reads a REG_SZ value as the 32-bit program sees it into out (MAX_PATH
// bytes): any text a registration writes fits, terminator included. 0 with
// out empty when the key or value is missing (the key's absence counted in
// *missingKeys).
static int ReadText(const char *path, const char *name, char *out, int *missingKeys) {
    char shown[MESSAGE_SIZE];
    char data[MAX_PATH + 1];
    HKEY key;
    DWORD type = 0;
    DWORD bytes = MAX_PATH;
    out[0] = '\0';
    wsprintfA(shown, "HKLM\\%.400s", path);
    LONG status = RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_QUERY_VALUE, &key);
    if (status != ERROR_SUCCESS) {
        LogCause("RegOpenKeyExA", shown, (DWORD)status, 0);
        (*missingKeys)++;
        return 0;
    }
    status = RegQueryValueExA(key, name, NULL, &type, (BYTE *)data, &bytes);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) {
        LogCause("RegQueryValueExA", shown, (DWORD)status, 0);
        return 0;
    }
    // A registration writes the text with its terminator and nothing after it.
    data[bytes] = '\0';
    lstrcpynA(out, data, MAX_PATH);
    return type == REG_SZ && bytes > 0 && (DWORD)lstrlenA(data) + 1 == bytes;
}

// The five keys' six values; the server's path goes to serverPath.
static int CheckKeys(const char *guidText, char *serverPath) {
    char paths[COMPONENT_KEY_COUNT][COMPONENT_KEY_PATH_SIZE];
    char text[MAX_PATH];
    // The server key holds two of the six values.
    const int keys[VALUE_COUNT] = {0, 1, 2, 3, 3, 4};
    const char *names[VALUE_COUNT] = {NULL, NULL, NULL, NULL, "ThreadingModel", NULL};
    const char *expected[VALUE_COUNT] = {
        COMPONENT_DESCRIPTION, guidText, COMPONENT_DESCRIPTION, NULL, "both", COMPONENT_PROGID};
    int missingKeys = 0;
    FormatComponentKeys(paths, guidText);
    for (int i = 0; i < VALUE_COUNT; i++) {
        int read = ReadText(paths[keys[i]], names[i], text, &missingKeys);
        if (i == SERVER_VALUE)
            lstrcpyA(serverPath, text);
        Check(read && (expected[i] == NULL ? text[0] != '\0' : lstrcmpA(text, expected[i]) == 0),
              "VERIFICANDO \\HKEY_LOCAL_MACHINE\\%s [%s]", paths[keys[i]],
              names[i] != NULL ? names[i] : "(padrão)");
    }
    return missingKeys;
}

// A drive's or a share's: a relative path names another file from another folder.
static int IsFullPath(const char *path) {
    return (path[0] != '\0' && path[1] == ':' && path[2] == '\\') ||
           (path[0] == '\\' && path[1] == '\\');
}

// The server file must be a Quorvalis.dll, named by its full path, with its
// type library beside it.
static void CheckFiles(const char *serverPath) {
    char name[MAX_PATH];
    char typeLib[MAX_PATH];
    DWORD attributes = GetFileAttributesA(serverPath);
    ExtractFileName(name, MAX_PATH, serverPath);
    Check(IsFullPath(serverPath) && attributes != INVALID_FILE_ATTRIBUTES &&
              !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
              lstrcmpiA(name, COMPONENT_LIBRARY_FILE) == 0,
          "VERIFICANDO ARQUIVO %s%s", serverPath, "");
    if (attributes == INVALID_FILE_ATTRIBUTES)
        LogCause("GetFileAttributesA", serverPath, GetLastError(), 0);
    lstrcpyA(typeLib, serverPath);
    attributes = ReplaceFileName(typeLib, MAX_PATH, COMPONENT_TYPELIB_FILE)
                     ? GetFileAttributesA(typeLib)
                     : INVALID_FILE_ATTRIBUTES;
    Check(attributes != INVALID_FILE_ATTRIBUTES, "VERIFICANDO ARQUIVO %s%s", typeLib, "");
}

static int CheckTypeLibrary(void) {
    char path[MAX_PATH];
    HRESULT result =
        CallQueryPathOfRegTypeLib(LIBID_Component, COMPONENT_TYPELIB_MAJOR, COMPONENT_TYPELIB_MINOR,
                                  COMPONENT_TYPELIB_LCID, path);
    if (result != S_OK)
        LogCause("QueryPathOfRegTypeLib", COMPONENT_TYPELIB_FILE, (DWORD)result, 1);
    Check(result == S_OK && GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES,
          "VERIFICANDO TYPE LIBRARY REGISTRADA %s%s",
          result == S_OK ? path : COMPONENT_TYPELIB_FILE, "");
    return result == S_OK;
}

static void CheckCompanions(void) {
    char classText[GUID_TEXT_SIZE];
    enum RegistrarStatus registrar = LoadRegistrarLibrary();
    if (registrar != REGISTRAR_LOADED)
        LogCause(registrar == REGISTRAR_MISSING ? "LoadLibraryA" : "GetProcAddress",
                 REGISTRAR_LIBRARY_FILE, GetLastError(), 0);
    FreeRegistrarLibrary();
    Check(registrar == REGISTRAR_LOADED, "VERIFICANDO BIBLIOTECA %s%s", REGISTRAR_LIBRARY_FILE, "");
    FormatGuidString(classText, &CLSID_Component);
    HRESULT created = CallCreateAndRelease(CLSID_Component);
    if (created != S_OK)
        LogCause("CoCreateInstance", classText, (DWORD)created, 1);
    Check(created == S_OK, "VERIFICANDO CRIAÇÃO DE %s %s", COMPONENT_PROGID, classText);
}

int VerifyRegistration(char *firstBroken) {
    char guidText[GUID_TEXT_SIZE];
    char serverPath[MAX_PATH];

    g_broken = 0;
    g_firstBroken = firstBroken;
    firstBroken[0] = '\0';
    LogLine("VERIFICANDO O REGISTRO DE Quorvalis.dll");
    FormatGuidString(guidText, &CLSID_Component);
    int missingKeys = CheckKeys(guidText, serverPath);
    CheckFiles(serverPath);
    int typeLibrary = CheckTypeLibrary();
    CheckCompanions();
    if (missingKeys == VALUE_COUNT && !typeLibrary)
        return VERIFY_NOT_REGISTERED;
    return g_broken == 0 ? VERIFY_INTACT : VERIFY_BROKEN;
}
