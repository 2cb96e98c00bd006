// What the driver prints. "SAMPLE <figure> <subject> <value> [<value>]"
// lines are the measurements, read by the report script; "# " lines are
// progress and diagnostics for the reader.
#pragma once

void Note(const char *format, ...);
void PrintSample(const char *figure, const char *subject, long value);
void PrintSamplePair(const char *figure, const char *subject, long value, long second);
