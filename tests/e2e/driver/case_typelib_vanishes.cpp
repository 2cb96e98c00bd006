// The type library goes away between the selection and the registration:
// the layout is written, the registrar is still called, then the failure
// is undone by a reset and reported; nothing is left registered.
#include <windows.h>
#include "cases.h"
#include "box_expect.h"
#include "check.h"
#include "component_registry.h"
#include "expected_log.h"
#include "folder_setup.h"
#include "known_state.h"
#include "log_expect.h"
#include "program_under_test.h"
#include "program_window.h"
#include "register_steps.h"
#include "sample_records.h"
#include "type_library.h"

#define SCRATCH_LIBRARY SCRATCH_FOLDER "\\Quorvalis.dll"
#define SCRATCH_TYPELIB SCRATCH_FOLDER "\\Quorvalis.tlb"
// A line that must not come is given this long to show up.
#define LATE_LINE_WAIT_MS 1000

#define FAILED_LINE_COUNT (REGISTRATION_LINES_BEFORE_TYPELIB + 1 + RESET_LINE_COUNT + 1)

static const FolderFile g_scratchFiles[] = {
    {COMPONENT_PATH, "Quorvalis.dll"},
    {COMPONENT_TLB_PATH, "Quorvalis.tlb"},
};

// The warning is the last box before the registration: the type library
// is removed while it is shown.
static bool RemoveTypeLibDuringWarning(const ProgramWindow *program) {
    HWND box = ExpectMessageBox(&program->run, WARNING_CAPTION, TEXT_DEPENDENCIES, "IDOK");
    if (box == NULL) {
        return false;
    }
    CheckTrue(DeleteFileA(SCRATCH_TYPELIB) != 0, "delete " SCRATCH_TYPELIB " during the warning");
    return AnswerMessageBoxAndWait(box, IDOK);
}

static void ExpectFailure(const ProgramWindow *program) {
    HWND box = ExpectMessageBox(&program->run, COMPONENT_DESCRIPTION, TEXT_FAILED, "IDOK");
    if (box == NULL) {
        NoteLogLines(program->list, 0, "log: ");
        return;
    }
    CheckVersionLabel(program, COMPONENT_VERSION);
    RegistrationLines registration;
    BuildRegistrationLines(SCRATCH_LIBRARY, &registration);
    const char *expected[FAILED_LINE_COUNT];
    int count = 0;
    for (int i = 0; i < REGISTRATION_LINES_BEFORE_TYPELIB; ++i) {
        expected[count++] = registration.lines[i];
    }
    expected[count++] = "ERROR";
    for (int i = 0; i < RESET_LINE_COUNT; ++i) {
        expected[count++] = g_resetLines[i];
    }
    // Logged once the box has been answered.
    expected[count++] = TEXT_FAILED;
    CheckLogLines(program->list, 0, expected, count - 1);
    if (!AnswerMessageBoxAndWait(box, IDOK)) {
        return;
    }
    WaitForLogCount(program->list, count + 1, LATE_LINE_WAIT_MS);
    CheckLogLines(program->list, count - 1, &expected[count - 1], 1);
}

void CaseTypeLibVanishes(int, char **) {
    if (!StartFromKnownState() ||
        !CheckTrue(PrepareFolder(SCRATCH_FOLDER, g_scratchFiles, 2), "lay out " SCRATCH_FOLDER)) {
        return;
    }
    ProgramWindow program;
    if (OpenProgramWindow(&program) && RequestRegistration(&program, SCRATCH_LIBRARY) &&
        AnswerCopyQuestion(&program, IDNO) && RemoveTypeLibDuringWarning(&program)) {
        ExpectFailure(&program);
        CheckComponentLayoutAbsent();
        CheckTypeLibraryAbsent();
        CheckRegistrarRecord(false);
        // Called although the type library had failed, then undone.
        CheckRegistrarCalls(1, 1);
    }
    CloseProgramWindow(&program);
}
