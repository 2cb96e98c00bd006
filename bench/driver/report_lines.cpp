#include <windows.h>
#include <stdarg.h>
#include <stdio.h>
#include "report_lines.h"

void Note(const char *format, ...) {
    char line[1024];
    va_list arguments;
    va_start(arguments, format);
    wvsprintfA(line, format, arguments);
    va_end(arguments);
    printf("# %s\n", line);
    fflush(stdout);
}

void PrintSample(const char *figure, const char *subject, long value) {
    printf("SAMPLE %s %s %ld\n", figure, subject, value);
    fflush(stdout);
}

void PrintSamplePair(const char *figure, const char *subject, long value, long second) {
    printf("SAMPLE %s %s %ld %ld\n", figure, subject, value, second);
    fflush(stdout);
}
