// A stand-in program, run as "qv-e2e.exe --fixture", that the harness case
// reads and answers like the real one: a question box, then a dialog-class
// window with a list box of code page 1252 lines.
#pragma once

#define FIXTURE_ARGUMENT    "--fixture"
#define FIXTURE_BOX_CAPTION "A V I S O"
#define FIXTURE_BOX_TEXT    "Copiar os arquivos?\r\nA cópia substitui os existentes."
#define FIXTURE_TITLE       "qv-e2e fixture"
#define FIXTURE_LIST_ID     1007
#define FIXTURE_LINE_COUNT  3
// Exit code: this base plus the box's answer.
#define FIXTURE_EXIT_BASE 100

extern const char *const g_fixtureLines[FIXTURE_LINE_COUNT];

int RunHarnessFixture(void);
