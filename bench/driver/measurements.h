// The three measured figures. Each runs `rounds` rounds with the program and
// its baseline side by side, prints one SAMPLE line per subject and round,
// and returns false, with a note, as soon as a run cannot be measured.
#pragma once

// CPU milliseconds of each program's primary thread over `seconds` of an
// idle main window, both programs up at the same time.
bool MeasureIdleCpu(const char *program, const char *busyProgram, int rounds, int seconds);
// Microseconds from process creation to the main dialog being visible.
bool MeasureTimeToWindow(const char *program, const char *emptyDialog, int rounds);
// Microseconds from the last answer to the success box (the program) and
// from start to exit of regsvr32 on the self-registering library.
bool MeasureRegisterRequest(const char *program, const char *library, const char *selfRegistering,
                            int rounds);
