// RegisterComponent with an arbitrary path in a 260-byte heap block, over an
// empty or an already complete registration, with or without the type
// library, any registrar result, and up to three injected faults among the
// registry, text conversion and OLE Automation calls it and its undo make.
//
// Input: flags (bit 0 the type library beside the path, bit 1 an existing
// registration), the registrar's result (a signed byte), the number of
// faults (0..3) and for each the call, which of its calls (1..8) and the
// error, then the path (up to 259 bytes).
#include <windows.h>
#include <string>
#include <vector>
#include "fuzz_check.h"
#include "fuzz_input.h"
#include "program_state.h"
#include "../../src/registration/registration.h"

#define GUID_TEXT    "{5D0E3C71-9A4B-4F26-B3E8-71C2A94D06F5}"
#define PROGID_KEY   "Software\\Classes\\Quorvalis.dll.object"
#define CLASS_KEY    "Software\\Classes\\CLSID\\" GUID_TEXT
#define SERVER_KEY   CLASS_KEY "\\InprocServer32"
#define SUCCESS_TEXT "REGISTRADO Quorvalis.dll COM SUCESSO COMO UM   <C O M>  COMPONENTE."
#define FAILURE_TEXT "REGISTRO DE Quorvalis.dll FALHOU COMO UM  <C O M>  COMPONENTE."

struct FaultableCall {
    const char *name;
    bool ole; // fails with an HRESULT rather than a Win32 error
    bool usedByUndo;
};

static const FaultableCall CALLS[] = {
    {"RegOpenKeyExA", false, true},        {"RegCreateKeyExA", false, false},
    {"RegSetValueExA", false, false},      {"RegDeleteKeyA", false, true},
    {"MultiByteToWideChar", false, false}, {"LoadTypeLib", true, false},
    {"RegisterTypeLib", true, false},      {"UnRegisterTypeLib", true, false},
};
static const int CALL_COUNT = sizeof CALLS / sizeof CALLS[0];

static void SeedRegistration(void) {
    fakewin::SeedString(PROGID_KEY, NULL, COMPONENT_CAPTION);
    fakewin::SeedString(PROGID_KEY "\\CLSID", NULL, GUID_TEXT);
    fakewin::SeedString(CLASS_KEY, NULL, COMPONENT_CAPTION);
    fakewin::SeedString(SERVER_KEY, NULL, "D:\\Old\\Quorvalis.dll");
    fakewin::SeedString(SERVER_KEY, "ThreadingModel", "both");
    fakewin::SeedString(CLASS_KEY "\\ProgID", NULL, "Quorvalis.dll.object");
}

// Injects the scripted faults; tells whether the undo may be hit by one.
static bool InjectFaults(FuzzInput *in, int *count) {
    bool undoHit = false;
    *count = TakeBelow(in, 4);
    for (int i = 0; i < *count; i++) {
        const FaultableCall &call = CALLS[TakeBelow(in, CALL_COUNT)];
        int nth = 1 + TakeBelow(in, 8);
        int code = 1 + TakeByte(in);
        long error = call.ole ? (long)(int32_t)(0x80070000u | (uint32_t)code) : code;
        fakewin::FailNthCall(call.name, nth, error);
        undoHit = undoHit || call.usedByUndo;
    }
    return undoHit;
}

static bool IsErrorBox(const fakewin::MessageBoxRecord &box) {
    return box.text == "ERRO" && box.caption == "ERRO na instalação DllRegisterServer" &&
           box.flags == 0x40000 && box.owner == NULL;
}

static void Run(FuzzInput in) {
    int flags = TakeByte(&in);
    g_registrarResult = (HRESULT)(int8_t)TakeByte(&in);
    int faults = 0;
    bool undoHit = InjectFaults(&in, &faults);
    std::string path = TakeText(&in, MAX_PATH - 1);

    std::string typeLibPath = SiblingPath(path, "Quorvalis.tlb");
    bool fits = typeLibPath.size() < MAX_PATH;
    if ((flags & 1) && fits)
        fakewin::AddFile(typeLibPath.c_str(), "type library");
    if (flags & 2)
        SeedRegistration();
    PadMessageBoxAnswers(IDOK, 3);
    std::vector<char> buffer(MAX_PATH, '\0');
    memcpy(buffer.data(), path.c_str(), path.size());

    LONG result = RegisterComponent(buffer.data());

    FUZZ_CHECK(result == 0 || result == 1 || result < 0,
               "the result is neither 0, 1 nor a failure HRESULT");
    FUZZ_CHECK(IsTerminated(buffer.data(), buffer.size()), "the path is not terminated");
    CheckNothingLeftOpen();
    std::string after = buffer.data();
    const std::vector<fakewin::MessageBoxRecord> &boxes = fakewin::MessageBoxes();
    FUZZ_CHECK(!boxes.empty() && boxes.size() <= 2, "not one outcome box and one error box");
    FUZZ_CHECK(boxes.size() == 1 || IsErrorBox(boxes[0]), "a first box outside the known set");
    const fakewin::MessageBoxRecord &outcome = boxes.back();
    FUZZ_CHECK(outcome.caption == COMPONENT_CAPTION && outcome.owner == NULL,
               "the outcome box has the wrong caption or an owner");
    if (faults == 0)
        FUZZ_CHECK(result == (!fits              ? HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE)
                              : (flags & 1) != 0 ? 0
                                                 : TYPE_E_CANTLOADLIBRARY),
                   "without faults the result does not follow from the path and its files");
    if (result == 0) {
        FUZZ_CHECK(outcome.text == SUCCESS_TEXT && outcome.flags == 0x40000,
                   "success without the success box");
        FUZZ_CHECK(after == typeLibPath, "the path does not name the type library");
        fakewin::RegValue server = fakewin::ReadValue(SERVER_KEY, NULL);
        FUZZ_CHECK(server.present && server.bytes == std::string(path.c_str(), path.size() + 1),
                   "the server path is not the library path");
        FUZZ_CHECK(fakewin::ReadValue(CLASS_KEY "\\ProgID", NULL).present,
                   "success without the class's ProgID link");
        return;
    }
    FUZZ_CHECK(outcome.text == FAILURE_TEXT && outcome.flags == 0x40030,
               "failure without the failure box");
    FUZZ_CHECK(result != 1 || after == path, "a registry failure changed the path");
    FUZZ_CHECK(result == 1 || after == path || after == typeLibPath,
               "the path is neither unchanged nor the type library's");
    if (!undoHit)
        FUZZ_CHECK(!fakewin::KeyExists(PROGID_KEY) && !fakewin::KeyExists(CLASS_KEY),
                   "a failed registration was not undone");
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    ResetProgram();
    Run({data, size});
    EndRun();
    return 0;
}
