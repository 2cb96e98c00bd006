#include <windows.h>
#include "register_steps.h"
#include "box_expect.h"
#include "check.h"
#include "expected_log.h"
#include "file_dialog.h"
#include "list_box.h"
#include "log_expect.h"
#include "program_under_test.h"
#include "window_search.h"

#define WINDOW_BACK_MS 5000

bool RequestRegistration(const ProgramWindow *program, const char *path) {
    if (!PressButton(program, IDC_REGISTER, REGISTER_LABEL)) {
        return false;
    }
    HWND dialog =
        WaitForProcessWindow(&program->run, DIALOG_CLASS, OPEN_DIALOG_TITLE, WINDOW_WAIT_MS, NULL);
    if (dialog != NULL) {
        CheckTrue(!IsWindowVisible(program->window), "main window hidden while choosing");
    }
    return ChooseFileInDialog(&program->run, OPEN_DIALOG_TITLE, INITIAL_FILE_NAME, path);
}

bool AnswerCopyQuestion(const ProgramWindow *program, int answer) {
    HWND box = ExpectMessageBox(&program->run, COMPONENT_DESCRIPTION, TEXT_COPY_QUESTION,
                                "IDCANCEL IDYES IDNO");
    return box != NULL && AnswerMessageBoxAndWait(box, answer);
}

bool AcknowledgeDependencies(const ProgramWindow *program) {
    HWND box = ExpectMessageBox(&program->run, WARNING_CAPTION, TEXT_DEPENDENCIES, "IDOK");
    return box != NULL && AnswerMessageBoxAndWait(box, IDOK);
}

bool ExpectRegistrationSuccess(const ProgramWindow *program, const char *libraryPath) {
    HWND box = ExpectMessageBox(&program->run, COMPONENT_DESCRIPTION, TEXT_REGISTERED, "IDOK");
    if (box == NULL) {
        NoteLogLines(program->list, 0, "log: ");
        return false;
    }
    CheckTrue(IsWindowVisible(program->window) != 0, "main window shown with the version");
    CheckVersionLabel(program, COMPONENT_VERSION);
    RegistrationLines expected;
    BuildRegistrationLines(libraryPath, &expected);
    CheckLogLines(program->list, 0, expected.lines, REGISTRATION_LINE_COUNT);
    if (!AnswerMessageBoxAndWait(box, IDOK)) {
        return false;
    }
    WaitForLogCount(program->list, REGISTRATION_LINE_COUNT + 1, WINDOW_WAIT_MS);
    static const char *const closing[] = {LINE_REGISTERED};
    CheckLogLines(program->list, REGISTRATION_LINE_COUNT, closing, 1);
    return true;
}

bool ExpectRefusal(const ProgramWindow *program, const char *text) {
    HWND box = ExpectMessageBox(&program->run, COMPONENT_DESCRIPTION, text, "IDOK");
    if (box == NULL || !AnswerMessageBoxAndWait(box, IDOK)) {
        return false;
    }
    CheckTrue(WaitWindowShown(program->window, WINDOW_BACK_MS), "main window shown again");
    CheckInt("log lines", 0, ListBoxCount(program->list));
    return true;
}

bool ResetThroughButton(const ProgramWindow *program, int linesBefore) {
    if (!PressButton(program, IDC_RESET, RESET_LABEL)) {
        return false;
    }
    HWND box = ExpectMessageBox(&program->run, COMPONENT_DESCRIPTION, TEXT_REMOVED, "IDOK");
    if (box == NULL) {
        NoteLogLines(program->list, 0, "log: ");
        return false;
    }
    CheckLogLines(program->list, linesBefore, g_resetLines, RESET_LINE_COUNT);
    return AnswerMessageBoxAndWait(box, IDOK);
}
