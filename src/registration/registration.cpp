// Writing the component's COM registration key by key, registering its type
// library and calling the registrar; a failed attempt is undone at once.
#include <windows.h>
#include "registration.h"
#include "../companions/component_identity.h"
#include "../install/path_utils.h"
#include "../operator/activity_log.h"
#include "../operator/dialogue.h"
#include "../companions/libraries.h"

#define MESSAGE_SIZE 512
#define KEYS_NAMED   4

// The keys as cause lines name them.
#define CLASSES_SHOWN "HKLM\\" CLASSES_KEY_PATH

// Byte counts of the fixed texts, terminator included.
#define DESCRIPTION_BYTES     35
#define PROGID_BYTES          21
#define THREADING_MODEL_BYTES 5

static void LogFormatted(const char *format, const char *first, const char *second) {
    char message[MESSAGE_SIZE];
    wsprintfA(message, format, first, second);
    LogLine(message);
}

// The path of each key open for writing, for the cause line of a failure.
static struct {
    HKEY key;
    char path[MESSAGE_SIZE];
} g_named[KEYS_NAMED];
static int g_nextNamed;

static void NameKey(HKEY key, const char *path) {
    g_named[g_nextNamed].key = key;
    lstrcpynA(g_named[g_nextNamed].path, path, MESSAGE_SIZE);
    g_nextNamed = (g_nextNamed + 1) % KEYS_NAMED;
}

static const char *PathOf(HKEY key) {
    for (int i = 0; i < KEYS_NAMED; i++)
        if (g_named[(g_nextNamed + KEYS_NAMED - 1 - i) % KEYS_NAMED].key == key)
            return g_named[(g_nextNamed + KEYS_NAMED - 1 - i) % KEYS_NAMED].path;
    return "?";
}

static LONG CreateKey(HKEY parent, const char *name, HKEY *key) {
    char path[MESSAGE_SIZE];
    DWORD disposition;
    LONG status = RegCreateKeyExA(parent, name, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_WRITE, NULL,
                                  key, &disposition);
    wsprintfA(path, "%.300s\\%.100s", PathOf(parent), name);
    if (status == ERROR_SUCCESS)
        NameKey(*key, path);
    else
        LogCause("RegCreateKeyExA", path, (DWORD)status, 0);
    return status;
}

static LONG SetText(HKEY key, const char *valueName, const char *text, DWORD bytes) {
    char subject[MESSAGE_SIZE];
    LONG status = RegSetValueExA(key, valueName, 0, REG_SZ, (const BYTE *)text, bytes);
    wsprintfA(subject, "%.300s [%.100s]", PathOf(key), valueName != NULL ? valueName : "(padrão)");
    if (status != ERROR_SUCCESS)
        LogCause("RegSetValueExA", subject, (DWORD)status, 0);
    return status;
}

// The ProgID key and its link to the class. Returns 0 on success.
static LONG WriteProgIdKeys(HKEY classesRoot, const char *guidText) {
    HKEY progIdKey;
    HKEY classLink;

    LogFormatted("OPEN/CREATE ..\\%s", COMPONENT_PROGID, NULL);
    if (CreateKey(classesRoot, COMPONENT_PROGID, &progIdKey) != ERROR_SUCCESS) {
        LogFormatted("ERROR OPEN/CREATE ..\\%s)", COMPONENT_PROGID, NULL);
        return 1;
    }
    LogFormatted("SET DESCRIÇÃO =  %s", COMPONENT_DESCRIPTION, NULL);
    if (SetText(progIdKey, NULL, COMPONENT_DESCRIPTION, DESCRIPTION_BYTES) != ERROR_SUCCESS) {
        LogLine("ERROR SET DESCRIÇÃO");
        RegCloseKey(progIdKey);
        return 1;
    }

    LogFormatted("OPEN/CREATE ..\\%s", "CLSID", NULL);
    LONG status = CreateKey(progIdKey, "CLSID", &classLink);
    if (status != ERROR_SUCCESS) {
        LogFormatted("ERROR OPEN/CREATE ..\\%s", "CLSID", NULL);
    } else {
        status = SetText(classLink, NULL, guidText, (DWORD)lstrlenA(guidText) + 1);
        RegCloseKey(classLink);
        LogFormatted("SET CLSID = %s", guidText, NULL);
    }
    RegCloseKey(progIdKey);
    if (status != ERROR_SUCCESS)
        LogFormatted("ERROR SET VALUE CLSID = %s", "CLSID", NULL);
    return status;
}

// The server key's path and threading model. Returns 0 on success.
static LONG WriteServerValues(HKEY serverKey, const char *libraryPath) {
    LONG status = 1;
    LogFormatted("SET PATH ..\\%s = %s", "InprocServer32", libraryPath);
    if (SetText(serverKey, NULL, libraryPath, (DWORD)lstrlenA(libraryPath) + 1) != ERROR_SUCCESS) {
        LogLine("ERROR SET PATH");
    } else {
        status = SetText(serverKey, "ThreadingModel", "both", THREADING_MODEL_BYTES);
        LogFormatted("SET THREAD MODEL %s = %s", "ThreadingModel", "both");
    }
    RegCloseKey(serverKey);
    return status;
}

// The class key with its server key and ProgID link. Returns 0 on success.
static LONG WriteClassKey(HKEY classRoot, const char *guidText, const char *libraryPath) {
    HKEY classKey;
    HKEY serverKey;
    HKEY progIdLink;

    LogFormatted("OPEN/CREATE ..\\%s)", guidText, NULL);
    if (CreateKey(classRoot, guidText, &classKey) != ERROR_SUCCESS) {
        LogFormatted("ERROR OPEN/CREATE ..\\%s)", guidText, NULL);
        return 1;
    }
    if (SetText(classKey, NULL, COMPONENT_DESCRIPTION, DESCRIPTION_BYTES) != ERROR_SUCCESS) {
        LogLine("ERROR SET DESCRIÇÃO");
        RegCloseKey(classKey);
        return 1;
    }

    LogFormatted("OPEN/CREATE ..\\%s)", "InprocServer32", NULL);
    if (CreateKey(classKey, "InprocServer32", &serverKey) != ERROR_SUCCESS) {
        LogFormatted("ERROR OPEN/CREATE ..\\%s\\%s)", guidText, "InprocServer32");
        RegCloseKey(classKey);
        return 1;
    }
    LONG status = WriteServerValues(serverKey, libraryPath);

    LogFormatted("OPEN/CREATE KEY ..\\%s", "ProgID", NULL);
    if (status != ERROR_SUCCESS || CreateKey(classKey, "ProgID", &progIdLink) != ERROR_SUCCESS) {
        LogLine("ERROR CREATE");
        RegCloseKey(classKey);
        return 1;
    }
    status = SetText(progIdLink, NULL, COMPONENT_PROGID, PROGID_BYTES);
    RegCloseKey(progIdLink);
    LogFormatted("SET ..\\%s = %s", "ProgID", COMPONENT_PROGID);
    RegCloseKey(classKey);
    return status == ERROR_SUCCESS ? 0 : 1;
}

// The class keys under the shared class root. Returns 0 on success.
static LONG WriteClassKeys(HKEY classesRoot, const char *guidText, const char *libraryPath) {
    HKEY classRoot;

    LogFormatted("OPEN \\HKEY_LOCAL_MACHINE\\%s\\%s", CLASSES_KEY_PATH, "CLSID");
    LONG status = RegOpenKeyExA(classesRoot, "CLSID", 0, KEY_ALL_ACCESS, &classRoot);
    if (status != ERROR_SUCCESS) {
        LogCause("RegOpenKeyExA", CLASSES_SHOWN "\\CLSID", (DWORD)status, 0);
        LogLine("ERROR OPEN \\Software\\Classes\\CLSID)");
        LogLine("ERROR");
        return 1;
    }
    NameKey(classRoot, CLASSES_SHOWN "\\CLSID");
    LONG failure = WriteClassKey(classRoot, guidText, libraryPath);
    RegCloseKey(classRoot);
    if (failure != 0)
        LogLine("ERROR");
    return failure;
}

// Registers the type library beside the library, turning the caller's path
// into the type library's. A path that would not fit its buffer is refused
// as too long rather than written past the buffer's end.
static HRESULT RegisterTypeLibrary(char *libraryPath) {
    WCHAR widePath[MAX_PATH];
    ITypeLib *typeLib = NULL;

    BOOL fits = ReplaceFileName(libraryPath, MAX_PATH, COMPONENT_TYPELIB_FILE);
    LogFormatted("Register type lib %s", COMPONENT_TYPELIB_FILE, NULL);
    if (!fits)
        return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
    if (MultiByteToWideChar(CP_ACP, 0, libraryPath, -1, widePath, MAX_PATH) == 0)
        widePath[0] = 0;
    HRESULT result = CallLoadTypeLib(widePath, &typeLib);
    if (result != S_OK) {
        LogCause("LoadTypeLib", libraryPath, (DWORD)result, 1);
        return result;
    }
    result = CallRegisterTypeLib(typeLib, widePath, NULL);
    typeLib->Release();
    if (result != S_OK)
        LogCause("RegisterTypeLib", libraryPath, (DWORD)result, 1);
    return result;
}

static LONG FailureOutcome(LONG failure) {
    char message[MESSAGE_SIZE];
    ResetRegistration();

    if (RegistrationPartsLeft())
        failure = REGISTRATION_UNDO_INCOMPLETE;
    wsprintfA(message, "REGISTRO DE %s FALHOU COMO UM  <C O M>  COMPONENTE.",
              COMPONENT_LIBRARY_FILE);
    ShowBox(message, COMPONENT_DESCRIPTION, MB_TOPMOST | MB_ICONWARNING);
    LogLine(message);
    return failure;
}

static void SuccessOutcome(void) {
    char message[MESSAGE_SIZE];
    wsprintfA(message, "REGISTRADO %s COM SUCESSO COMO UM   <C O M>  COMPONENTE.",
              COMPONENT_LIBRARY_FILE);
    LogLine(message);
    ShowBox(message, COMPONENT_DESCRIPTION, MB_TOPMOST);
}

LONG RegisterComponent(char *libraryPath) {
    char guidText[GUID_TEXT_SIZE];
    HKEY classesRoot;

    LogLine("REGISTRANDO  DLL   OU   ACESSANDO OS SEUS REGISTROS");
    FormatGuidString(guidText, &CLSID_Component);
    LogFormatted("OPEN \\HKEY_LOCAL_MACHINE\\%s", CLASSES_KEY_PATH, NULL);
    LONG status = RegOpenKeyExA(HKEY_LOCAL_MACHINE, CLASSES_KEY_PATH, 0, KEY_WRITE, &classesRoot);
    if (status != ERROR_SUCCESS) {
        LogCause("RegOpenKeyExA", CLASSES_SHOWN, (DWORD)status, 0);
        LogFormatted("ERROR OPEN %s", CLASSES_KEY_PATH, NULL);
        return FailureOutcome(1);
    }
    NameKey(classesRoot, CLASSES_SHOWN);
    if (WriteProgIdKeys(classesRoot, guidText) != 0 ||
        WriteClassKeys(classesRoot, guidText, libraryPath) != 0) {
        RegCloseKey(classesRoot);
        return FailureOutcome(1);
    }

    LONG failure = RegisterTypeLibrary(libraryPath);
    HRESULT registrar = CallRegistrarRegister();
    if (registrar != S_OK) {
        LogCause("DllRegisterServer", REGISTRAR_LIBRARY_FILE, (DWORD)registrar, 1);
        ShowBox("ERRO", "ERRO na instalação DllRegisterServer", MB_TOPMOST);
    }
    if (failure != 0) {
        LogLine("ERROR");
        RegCloseKey(classesRoot);
        return FailureOutcome(failure);
    }
    SuccessOutcome();
    RegCloseKey(classesRoot);
    return registrar == S_OK ? REGISTRATION_DONE : REGISTRATION_REGISTRAR_REFUSED;
}
