// The driver's own reading and answering, checked against a process whose
// texts are known (the driver itself in fixture mode), so that a failure in
// the program's cases is the program's and not the harness's.
#include <windows.h>
#include "cases.h"
#include "check.h"
#include "dialog_controls.h"
#include "harness_fixture.h"
#include "list_box.h"
#include "message_box.h"
#include "program_run.h"
#include "program_under_test.h"
#include "window_search.h"

static bool CheckQuestionBox(ProgramRun *run) {
    HWND box = ExpectProcessDialog(run, FIXTURE_BOX_CAPTION, "fixture's question box appears");
    if (box == NULL) {
        return false;
    }
    MessageBoxInfo info;
    CheckTrue(ReadMessageBox(box, &info), "read the box");
    CheckText("box caption", FIXTURE_BOX_CAPTION, info.caption);
    CheckText("box text", FIXTURE_BOX_TEXT, info.text);
    char buttons[128];
    DescribeButtons(&info, buttons, sizeof buttons);
    CheckText("box buttons", "IDCANCEL IDYES IDNO", buttons);
    return CheckTrue(AnswerMessageBox(box, IDNO), "post IDNO to the box");
}

static void CheckListWindow(ProgramRun *run) {
    HWND window =
        ExpectProcessDialog(run, FIXTURE_TITLE, "fixture's window appears after the answer");
    if (window == NULL) {
        return;
    }
    HWND list = FindControl(window, FIXTURE_LIST_ID);
    if (!CheckTrue(list != NULL, "fixture's list box")) {
        return;
    }
    CheckInt("list lines", FIXTURE_LINE_COUNT, ListBoxCount(list));
    for (int i = 0; i < FIXTURE_LINE_COUNT; ++i) {
        char line[256];
        char what[32];
        wsprintfA(what, "list line %d", i);
        CheckTrue(ListBoxLine(list, i, line, sizeof line), "read a list line");
        CheckText(what, g_fixtureLines[i], line);
    }
    char line[256];
    CheckTrue(!ListBoxLine(list, FIXTURE_LINE_COUNT, line, sizeof line),
              "a line past the end cannot be read");
    CheckTrue(!ListBoxLine(list, 2, line, 4), "a line longer than the buffer is refused");

    CheckTrue(PostMessageA(window, WM_CLOSE, 0, 0) != 0, "post WM_CLOSE to the fixture");
    DWORD code = 0;
    if (CheckTrue(WaitProgramExit(run, EXIT_WAIT_MS, &code), "the fixture ends")) {
        CheckInt("fixture's exit code (base + IDNO)", FIXTURE_EXIT_BASE + IDNO, (long)code);
    }
}

void CaseHarness(int, char **) {
    char self[MAX_PATH];
    if (!CheckTrue(GetModuleFileNameA(NULL, self, MAX_PATH) != 0, "the driver's own path")) {
        return;
    }
    ProgramRun run;
    if (!StartProgram(self, FIXTURE_ARGUMENT, &run)) {
        return;
    }
    if (CheckQuestionBox(&run)) {
        CheckListWindow(&run);
    }
    EndProgram(&run);
}
