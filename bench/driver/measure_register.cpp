// Register request: the program from the operator's last answer (OK on the
// dependency warning, after "No" to the copy) to the success box; regsvr32
// from process creation to its exit. Both start from a clean registry and
// must leave the same registration behind, or the round does not count.
#include <windows.h>
#include <string.h>
#include "measurements.h"
#include "component_state.h"
#include "dialog_poll.h"
#include "launched_process.h"
#include "program_texts.h"
#include "program_walk.h"
#include "report_lines.h"
#include "stopwatch.h"
#include "component_identity.h"

#define REGSVR32_WAIT_MS 15000
#define BETWEEN_RUNS_MS  300

static bool TimeProgram(const char *program, const char *library, long *microseconds) {
    Launched run;
    HWND mainWindow = OpenMainWindow(program, &run);
    HWND warning = mainWindow != NULL ? WalkToLastAnswer(&run, mainWindow, library) : NULL;
    if (warning == NULL) {
        EndLaunched(&run);
        return false;
    }
    LONGLONG start = StopwatchNow();
    PostButton(warning, IDOK);
    // The copy question, the only other box with this caption, is gone.
    HWND box = WaitShownDialog(&run, COMPONENT_DESCRIPTION, POLL_TIMED_MS);
    *microseconds = (long)StopwatchElapsedUs(start);
    char text[512];
    bool registered =
        box != NULL && ReadBoxText(box, text, sizeof text) && strcmp(text, TEXT_REGISTERED) == 0;
    if (box != NULL && !registered) {
        Note("expected the success box, got \"%s\"", text);
    }
    registered = registered && ComponentRegisteredAt(library);
    if (box != NULL) {
        PostButton(box, IDOK);
        WaitDialogGone(box);
    }
    registered = CloseMainWindow(&run, mainWindow) && registered;
    return registered;
}

static bool TimeRegsvr32(const char *selfRegistering, long *microseconds) {
    char regsvr32[MAX_PATH];
    char arguments[MAX_PATH + 8];
    GetSystemWow64DirectoryA(regsvr32, MAX_PATH - 16);
    lstrcatA(regsvr32, "\\regsvr32.exe");
    wsprintfA(arguments, "/s \"%s\"", selfRegistering);

    Launched run;
    LONGLONG start = StopwatchNow();
    if (!Launch(regsvr32, arguments, &run)) {
        return false;
    }
    DWORD code = 1;
    bool ended = WaitExit(&run, REGSVR32_WAIT_MS, &code);
    *microseconds = (long)StopwatchElapsedUs(start);
    EndLaunched(&run);
    if (!ended || code != 0) {
        Note("regsvr32 %s: %s, exit code %lu", selfRegistering, ended ? "failed" : "timed out",
             code);
        return false;
    }
    return ComponentRegisteredAt(selfRegistering);
}

static bool TimeSubject(int subject, const char *program, const char *library,
                        const char *selfRegistering) {
    long microseconds = 0;
    if (!ClearComponentRegistration()) {
        return false;
    }
    bool measured = subject == 0 ? TimeProgram(program, library, &microseconds)
                                 : TimeRegsvr32(selfRegistering, &microseconds);
    Sleep(BETWEEN_RUNS_MS);
    if (measured) {
        PrintSample("register-request", subject == 0 ? "ours" : "baseline", microseconds);
    }
    return measured;
}

bool MeasureRegisterRequest(const char *program, const char *library, const char *selfRegistering,
                            int rounds) {
    long warmUp = 0;
    if (!ClearComponentRegistration() || !TimeProgram(program, library, &warmUp) ||
        !ClearComponentRegistration() || !TimeRegsvr32(selfRegistering, &warmUp)) {
        return false;
    }
    bool measured = true;
    for (int round = 1; round <= rounds && measured; ++round) {
        Note("register request, round %d of %d", round, rounds);
        for (int i = 0; i < 2 && measured; ++i) {
            measured = TimeSubject((i + round) % 2, program, library, selfRegistering);
        }
    }
    // Leave the prefix as the program's own reset would.
    ClearComponentRegistration();
    return measured;
}
