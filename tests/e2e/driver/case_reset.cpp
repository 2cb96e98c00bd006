// "Zerar  Registro" over a registration seeded by the case itself: the
// layout, the type library and the registrar's record all go, and the real
// client stops working. A second reset finds nothing: two lines, no box.
// On a 64-bit Windows a 64-bit registration of the same class, seeded
// beside it, comes through both resets untouched.
#include <windows.h>
#include "cases.h"
#include "box_expect.h"
#include "check.h"
#include "component_registry.h"
#include "expected_log.h"
#include "known_state.h"
#include "log_expect.h"
#include "native_class.h"
#include "prefix_arch.h"
#include "program_under_test.h"
#include "program_window.h"
#include "register_steps.h"
#include "sample_records.h"
#include "script_client.h"
#include "type_library.h"

// Long enough for a box to come after the last line, were one due.
#define NO_BOX_WAIT_MS 1500

static bool SeedRegistration(void) {
    bool ok = CheckTrue(SeedComponentLayout(COMPONENT_PATH), "seed the component layout");
    ok = CheckTrue(SeedTypeLibrary(COMPONENT_TLB_PATH), "seed the type library registration") && ok;
    ok = CheckTrue(SeedRegistrarRecord(), "seed the registrar's record") && ok;
    if (ok) {
        CheckComponentLayout(COMPONENT_PATH);
        CheckTypeLibraryRegistered(COMPONENT_TLB_PATH);
    }
    return ok;
}

static void ResetFindsNothing(const ProgramWindow *program, int linesBefore) {
    if (!PressButton(program, IDC_RESET, RESET_LABEL)) {
        return;
    }
    int seen = WaitForLogCount(program->list, linesBefore + EMPTY_RESET_LINE_COUNT, WINDOW_WAIT_MS);
    if (!CheckTrue(seen >= linesBefore + EMPTY_RESET_LINE_COUNT,
                   "the second reset logs its lines")) {
        NoteLogLines(program->list, 0, "log: ");
        return;
    }
    CheckNoBoxFor(&program->run, program->window, NO_BOX_WAIT_MS);
    CheckLogLines(program->list, linesBefore, g_emptyResetLines, EMPTY_RESET_LINE_COUNT);
}

void CaseResetAfterSeededRegistration(int, char **) {
    if (!StartFromKnownState() || !SeedRegistration()) {
        return;
    }
    if (!CheckTrue(SeedNativeClass(), "seed a 64-bit registration of the class")) {
        return;
    }
    CheckClientWorks("over the seeded registration");
    ProgramWindow program;
    if (OpenProgramWindow(&program) && ResetThroughButton(&program, 0)) {
        CheckComponentLayoutAbsent();
        CheckTypeLibraryAbsent();
        CheckRegistrarRecord(false);
        CheckRegistrarCalls(0, 1);
        CheckClientFails("after the reset");
        CheckNativeClassKept();
        ResetFindsNothing(&program, RESET_LINE_COUNT);
        CheckRegistrarCalls(0, 2);
        CheckNativeClassKept();
    }
    CloseProgramWindow(&program);
}
