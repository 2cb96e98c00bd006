// Register requests that the program refuses before anything is written:
// a file with another name, a library without its type library, the copy
// question cancelled, a copy into the library's own folder. Each ends in
// one error box, the window back, an empty log and nothing registered.
#include <windows.h>
#include "cases.h"
#include "check.h"
#include "component_registry.h"
#include "file_dialog.h"
#include "folder_setup.h"
#include "known_state.h"
#include "program_under_test.h"
#include "program_window.h"
#include "register_steps.h"
#include "sample_records.h"
#include "type_library.h"

#define NO_ANSWER 0
#define MAX_FILES 2

struct Refusal {
    FolderFile scratchFiles[MAX_FILES]; // laid out in the scratch folder first
    int scratchFileCount;
    const char *pickedPath;
    int copyAnswer;           // NO_ANSWER when no question is due
    const char *savePath;     // after IDYES
    const char *refusalText;  // the box that ends the request
    int componentFolderFiles; // files left in the component folder
};

static const Refusal g_wrongName = {
    {{COMPONENT_PATH, "Outro.dll"}, {COMPONENT_TLB_PATH, "Quorvalis.tlb"}},
    2,
    SCRATCH_FOLDER "\\Outro.dll",
    NO_ANSWER,
    NULL,
    TEXT_WRONG_NAME "Outro.dll",
    2,
};
static const Refusal g_missingTypeLib = {
    {{COMPONENT_PATH, "Quorvalis.dll"}},
    1,
    SCRATCH_FOLDER "\\Quorvalis.dll",
    NO_ANSWER,
    NULL,
    TEXT_NO_TYPELIB SCRATCH_FOLDER "\\Quorvalis.tlb",
    2,
};
static const Refusal g_cancel = {
    {}, 0, COMPONENT_PATH, IDCANCEL, NULL, TEXT_CANCELLED, 2,
};
static const Refusal g_sameFolder = {
    {}, 0, COMPONENT_PATH, IDYES, COMPONENT_PATH, TEXT_SAME_FOLDER COMPONENT_FOLDER, 2,
};

static void CheckNothingRegistered(const ProgramWindow *program, const Refusal *refusal) {
    CheckVersionLabel(program, "DLL ainda não lida.");
    CheckComponentLayoutAbsent();
    CheckTypeLibraryAbsent();
    CheckRegistrarRecord(false);
    CheckRegistrarCalls(0, 0);
    CheckInt("files in the copy destination", 0, CountFiles(DESTINATION_FOLDER));
    CheckInt("files in " COMPONENT_FOLDER, refusal->componentFolderFiles,
             CountFiles(COMPONENT_FOLDER));
}

static bool AnswerQuestions(const ProgramWindow *program, const Refusal *refusal) {
    if (refusal->copyAnswer == NO_ANSWER) {
        return true;
    }
    if (!AnswerCopyQuestion(program, refusal->copyAnswer)) {
        return false;
    }
    return refusal->savePath == NULL || ChooseFileInDialog(&program->run, SAVE_DIALOG_TITLE,
                                                           INITIAL_FILE_NAME, refusal->savePath);
}

static void RunRefusal(const Refusal *refusal) {
    if (!StartFromKnownState()) {
        return;
    }
    if (refusal->scratchFileCount > 0 &&
        !CheckTrue(PrepareFolder(SCRATCH_FOLDER, refusal->scratchFiles, refusal->scratchFileCount),
                   "lay out " SCRATCH_FOLDER)) {
        return;
    }
    ProgramWindow program;
    if (OpenProgramWindow(&program) && RequestRegistration(&program, refusal->pickedPath) &&
        AnswerQuestions(&program, refusal) && ExpectRefusal(&program, refusal->refusalText)) {
        CheckNothingRegistered(&program, refusal);
    }
    CloseProgramWindow(&program);
}

void CaseWrongName(int, char **) {
    RunRefusal(&g_wrongName);
}

void CaseMissingTypeLib(int, char **) {
    RunRefusal(&g_missingTypeLib);
}

void CaseCancel(int, char **) {
    RunRefusal(&g_cancel);
}

void CaseSameFolder(int, char **) {
    RunRefusal(&g_sameFolder);
}
