#include <windows.h>
#include "expected_log.h"
#include "program_under_test.h"

#define HKLM_CLASSES "\\HKEY_LOCAL_MACHINE\\Software\\Classes"

void BuildRegistrationLines(const char *libraryPath, RegistrationLines *out) {
    static const char *const fixed[REGISTRATION_LINE_COUNT] = {
        "REGISTRANDO  DLL   OU   ACESSANDO OS SEUS REGISTROS",
        "OPEN \\HKEY_LOCAL_MACHINE\\Software\\Classes",
        "OPEN/CREATE ..\\" COMPONENT_PROGID,
        "SET DESCRIÇÃO =  " COMPONENT_DESCRIPTION,
        "OPEN/CREATE ..\\CLSID",
        "SET CLSID = " CLSID_TEXT,
        "OPEN \\HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID",
        "OPEN/CREATE ..\\" CLSID_TEXT ")",
        "OPEN/CREATE ..\\InprocServer32)",
        NULL, // the library path line
        "SET THREAD MODEL ThreadingModel = both",
        "OPEN/CREATE KEY ..\\ProgID",
        "SET ..\\ProgID = " COMPONENT_PROGID,
        "Register type lib Quorvalis.tlb",
        TEXT_REGISTERED,
    };
    wsprintfA(out->pathLine, "SET PATH ..\\InprocServer32 = %s", libraryPath);
    for (int i = 0; i < REGISTRATION_LINE_COUNT; ++i) {
        out->lines[i] = fixed[i] != NULL ? fixed[i] : out->pathLine;
    }
}

const char *const g_resetLines[RESET_LINE_COUNT] = {
    "ZERANDO REGISTRO...",
    "DELETANDO " HKLM_CLASSES "\\" COMPONENT_PROGID "\\CLSID",
    "DELETANDO " COMPONENT_PROGID,
    "DELETANDO " HKLM_CLASSES "\\CLSID\\" CLSID_TEXT "\\InprocServer32",
    "DELETANDO " HKLM_CLASSES "\\CLSID\\" CLSID_TEXT "\\ProgID",
    "DELETANDO " HKLM_CLASSES "\\CLSID\\" CLSID_TEXT,
    "DELETANDO type library",
    "ZERAMENTO COMPLETADO!",
};

const char *const g_emptyResetLines[EMPTY_RESET_LINE_COUNT] = {
    "ZERANDO REGISTRO...",
    "ZERAMENTO COMPLETADO!",
};
