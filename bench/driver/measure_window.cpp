// Time to window: from just before process creation to the main dialog being
// visible. The two programs alternate which goes first in a round, and one
// untimed start of each warms the file cache and the Wine server first.
#include <windows.h>
#include "measurements.h"
#include "dialog_poll.h"
#include "launched_process.h"
#include "program_texts.h"
#include "report_lines.h"
#include "stopwatch.h"
#include "empty_dialog.h"

#define BETWEEN_RUNS_MS 300

struct WindowSubject {
    const char *name;
    const char *path;
    const char *titlePrefix;
};

static bool TimeOneStart(const WindowSubject *subject, long *microseconds) {
    Launched run;
    LONGLONG start = StopwatchNow();
    if (!Launch(subject->path, NULL, &run)) {
        return false;
    }
    HWND window = WaitShownDialog(&run, subject->titlePrefix, POLL_TIMED_MS);
    *microseconds = (long)StopwatchElapsedUs(start);
    EndLaunched(&run);
    // The next start must not overlap this one's teardown.
    Sleep(BETWEEN_RUNS_MS);
    return window != NULL;
}

bool MeasureTimeToWindow(const char *program, const char *emptyDialog, int rounds) {
    const WindowSubject subjects[2] = {
        {"ours", program, MAIN_TITLE_PREFIX},
        {"baseline", emptyDialog, EMPTY_DIALOG_TITLE},
    };
    long microseconds = 0;
    for (int i = 0; i < 2; ++i) {
        if (!TimeOneStart(&subjects[i], &microseconds)) {
            return false;
        }
    }
    for (int round = 1; round <= rounds; ++round) {
        Note("time to window, round %d of %d", round, rounds);
        for (int i = 0; i < 2; ++i) {
            const WindowSubject *subject = &subjects[(i + round) % 2];
            if (!TimeOneStart(subject, &microseconds)) {
                return false;
            }
            PrintSample("time-to-window", subject->name, microseconds);
        }
    }
    return true;
}
