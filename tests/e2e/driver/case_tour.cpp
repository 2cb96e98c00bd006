// The short tour that `make run` plays on a virtual display: the window,
// a registration without a copy, the real client's call, a reset; with a
// snapshot after each step and the log lines in the transcript.
#include <windows.h>
#include "cases.h"
#include "check.h"
#include "expected_log.h"
#include "known_state.h"
#include "log_expect.h"
#include "program_under_test.h"
#include "program_window.h"
#include "register_steps.h"
#include "script_client.h"
#include "snapshot_marker.h"

static void CallClient(void) {
    ClientResult result;
    if (CheckTrue(RunScriptClient(&result), "run the script client")) {
        Note("client: %s (exit code %lu)", result.output, result.exitCode);
        CheckInt("client's exit code", 0, (long)result.exitCode);
    }
}

void CaseTour(int, char **) {
    if (!StartFromKnownState()) {
        return;
    }
    ProgramWindow program;
    if (OpenProgramWindow(&program)) {
        TakeSnapshot(program.window, "1-window");
        if (RequestRegistration(&program, COMPONENT_PATH) && AnswerCopyQuestion(&program, IDNO) &&
            AcknowledgeDependencies(&program) &&
            ExpectRegistrationSuccess(&program, COMPONENT_PATH)) {
            NoteLogLines(program.list, 0, "log: ");
            TakeSnapshot(program.window, "2-registered");
            CallClient();
            if (ResetThroughButton(&program, REGISTRATION_LINE_COUNT + 1)) {
                NoteLogLines(program.list, REGISTRATION_LINE_COUNT + 1, "log: ");
                TakeSnapshot(program.window, "3-reset");
            }
        }
    }
    CloseProgramWindow(&program);
}
