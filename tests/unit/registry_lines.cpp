#include "registry_lines.h"

const char *const LAYOUT_KEYS[5] = {PROGID_PATH "\\CLSID", PROGID_PATH,
                                    CLASS_PATH "\\InprocServer32", CLASS_PATH "\\ProgID",
                                    CLASS_PATH};

Lines RegistrationLines(const std::string &path, size_t count) {
    Lines lines = {
        "REGISTRANDO  DLL   OU   ACESSANDO OS SEUS REGISTROS",
        "OPEN \\HKEY_LOCAL_MACHINE\\Software\\Classes",
        "OPEN/CREATE ..\\Quorvalis.dll.object",
        "SET DESCRIÇÃO =  Quorvalis comunica com o SAT VORAN",
        "OPEN/CREATE ..\\CLSID",
        "SET CLSID = " GUID_TEXT,
        "OPEN \\HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID",
        "OPEN/CREATE ..\\" GUID_TEXT ")",
        "OPEN/CREATE ..\\InprocServer32)",
        "SET PATH ..\\InprocServer32 = " + path,
        "SET THREAD MODEL ThreadingModel = both",
        "OPEN/CREATE KEY ..\\ProgID",
        "SET ..\\ProgID = Quorvalis.dll.object",
        "Register type lib Quorvalis.tlb",
        SUCCESS_LINE,
    };
    lines.resize(count);
    return lines;
}

Lines ResetNothingLines() {
    return {"ZERANDO REGISTRO...", "ZERAMENTO COMPLETADO!"};
}

Lines ResetProgIdLines() {
    return {"ZERANDO REGISTRO...",
            "DELETANDO \\HKEY_LOCAL_MACHINE\\Software\\Classes\\Quorvalis.dll.object\\CLSID",
            "DELETANDO Quorvalis.dll.object", "DELETANDO type library", "ZERAMENTO COMPLETADO!"};
}

Lines ResetFullLines() {
    return {"ZERANDO REGISTRO...",
            "DELETANDO \\HKEY_LOCAL_MACHINE\\Software\\Classes\\Quorvalis.dll.object\\CLSID",
            "DELETANDO Quorvalis.dll.object",
            "DELETANDO \\HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID\\" GUID_TEXT
            "\\InprocServer32",
            "DELETANDO \\HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID\\" GUID_TEXT "\\ProgID",
            "DELETANDO \\HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID\\" GUID_TEXT,
            "DELETANDO type library",
            "ZERAMENTO COMPLETADO!"};
}

Lines Join(Lines first, const Lines &second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}
