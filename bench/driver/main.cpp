// qv-bench: measures the program against its baselines inside a Wine prefix
// and prints SAMPLE lines for the report.
//   qv-bench idle <program> <busy-wait program> <rounds> <seconds>
//   qv-bench window <program> <empty-dialog program> <rounds>
//   qv-bench register <program> <Quorvalis.dll> <self-registering dll> <rounds>
// Exit code: 0 measured, 1 a run could not be measured, 2 misuse.
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include "measurements.h"

#define MIN_ROUNDS  1
#define MAX_ROUNDS  50
#define MAX_SECONDS 600

static int Usage(void) {
    fprintf(stderr, "usage: qv-bench idle <program> <busy program> <rounds> <seconds>\n"
                    "       qv-bench window <program> <empty dialog> <rounds>\n"
                    "       qv-bench register <program> <library> <self-registering dll> "
                    "<rounds>\n");
    return 2;
}

// A whole number within [low, high], else -1.
static int ParseCount(const char *text, int low, int high) {
    char *end = NULL;
    long value = strtol(text, &end, 10);
    if (end == text || *end != 0 || value < low || value > high) {
        return -1;
    }
    return (int)value;
}

int main(int argc, char **argv) {
    if (argc < 2) {
        return Usage();
    }
    const char *figure = argv[1];
    bool measured;
    if (strcmp(figure, "idle") == 0 && argc == 6) {
        int rounds = ParseCount(argv[4], MIN_ROUNDS, MAX_ROUNDS);
        int seconds = ParseCount(argv[5], 1, MAX_SECONDS);
        if (rounds < 0 || seconds < 0) {
            return Usage();
        }
        measured = MeasureIdleCpu(argv[2], argv[3], rounds, seconds);
    } else if (strcmp(figure, "window") == 0 && argc == 5) {
        int rounds = ParseCount(argv[4], MIN_ROUNDS, MAX_ROUNDS);
        if (rounds < 0) {
            return Usage();
        }
        measured = MeasureTimeToWindow(argv[2], argv[3], rounds);
    } else if (strcmp(figure, "register") == 0 && argc == 6) {
        int rounds = ParseCount(argv[5], MIN_ROUNDS, MAX_ROUNDS);
        if (rounds < 0) {
            return Usage();
        }
        measured = MeasureRegisterRequest(argv[2], argv[3], argv[4], rounds);
    } else {
        return Usage();
    }
    return measured ? 0 : 1;
}
