// Parts of ANSI paths. The extractors split at the last backslash or colon;
// ReplaceFileName, like Windows file names, only at the last backslash.
#pragma once

#define PATH_OUTPUT_MIN 260

const char *ExtractFileName(char *dst, int size, const char *path);
const char *ExtractDirectory(char *dst, int size, const char *path);

// Puts fileName in place of the part after the last backslash of path (of
// the whole text when there is none). Returns 0, leaving path unchanged, when
// the result would not fit in size bytes.
int ReplaceFileName(char *path, int size, const char *fileName);
