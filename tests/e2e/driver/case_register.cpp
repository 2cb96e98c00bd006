// A register request through the real dialogs, with and without a copy of
// the library, proved by the registry, the registrar's record and the real
// script client; then undone through "Zerar  Registro". On a 64-bit Windows
// the 64-bit client is refused, and a 64-bit registration of the same class
// outlives the reset.
#include <windows.h>
#include "cases.h"
#include "check.h"
#include "component_registry.h"
#include "expected_log.h"
#include "file_dialog.h"
#include "folder_setup.h"
#include "known_state.h"
#include "native_class.h"
#include "prefix_arch.h"
#include "program_under_test.h"
#include "program_window.h"
#include "register_steps.h"
#include "sample_records.h"
#include "script_client.h"
#include "type_library.h"

#define DESTINATION_PATH     DESTINATION_FOLDER "\\Quorvalis.dll"
#define DESTINATION_TLB_PATH DESTINATION_FOLDER "\\Quorvalis.tlb"

static void CheckRegistered(const char *libraryPath, const char *typeLibPath) {
    CheckComponentLayout(libraryPath);
    CheckTypeLibraryRegistered(typeLibPath);
    CheckRegistrarRecord(true);
    CheckRegistrarCalls(1, 0);
    CheckClientWorks("after the registration");
}

static void ResetAndCheckGone(const ProgramWindow *program) {
    if (!ResetThroughButton(program, REGISTRATION_LINE_COUNT + 1)) {
        return;
    }
    CheckComponentLayoutAbsent();
    CheckTypeLibraryAbsent();
    CheckRegistrarRecord(false);
    CheckRegistrarCalls(1, 1);
    CheckClientFails("after the reset");
    CheckNativeClassKept();
}

// What a 64-bit Windows adds while the 32-bit registration stands: its
// 64-bit client cannot use it, and a 64-bit registration of the same class
// can live beside it (the reset must leave that one alone).
static bool CheckNativeSide(void) {
    CheckNativeClientRefused();
    if (!CheckTrue(SeedNativeClass(), "seed a 64-bit registration of the class")) {
        return false;
    }
    CheckClientWorks("beside a 64-bit registration of the class");
    return true;
}

void CaseRegisterWithoutCopy(int, char **) {
    if (!StartFromKnownState()) {
        return;
    }
    ProgramWindow program;
    if (OpenProgramWindow(&program) && RequestRegistration(&program, COMPONENT_PATH) &&
        AnswerCopyQuestion(&program, IDNO) && AcknowledgeDependencies(&program) &&
        ExpectRegistrationSuccess(&program, COMPONENT_PATH)) {
        CheckRegistered(COMPONENT_PATH, COMPONENT_TLB_PATH);
        CheckInt("files in the copy destination", 0, CountFiles(DESTINATION_FOLDER));
        if (CheckNativeSide()) {
            ResetAndCheckGone(&program);
        }
    }
    CloseProgramWindow(&program);
}

static void CheckCopies(void) {
    CheckInt("files in " DESTINATION_FOLDER, 2, CountFiles(DESTINATION_FOLDER));
    CheckTrue(SameFileContent(COMPONENT_PATH, DESTINATION_PATH),
              DESTINATION_PATH " is a copy of the library");
    CheckTrue(SameFileContent(COMPONENT_TLB_PATH, DESTINATION_TLB_PATH),
              DESTINATION_TLB_PATH " is a copy of the type library");
}

void CaseRegisterCopy(int, char **) {
    if (!StartFromKnownState()) {
        return;
    }
    ProgramWindow program;
    if (OpenProgramWindow(&program) && RequestRegistration(&program, COMPONENT_PATH) &&
        AnswerCopyQuestion(&program, IDYES) &&
        ChooseFileInDialog(&program.run, SAVE_DIALOG_TITLE, INITIAL_FILE_NAME, DESTINATION_PATH) &&
        AcknowledgeDependencies(&program) &&
        ExpectRegistrationSuccess(&program, DESTINATION_PATH)) {
        CheckCopies();
        CheckRegistered(DESTINATION_PATH, DESTINATION_TLB_PATH);
    }
    CloseProgramWindow(&program);
}
