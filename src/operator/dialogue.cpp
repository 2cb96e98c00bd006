// Boxes and file dialogs, shown or answered from the command line.
#include <windows.h>
#include "dialogue.h"
#include "activity_log.h"
#include "../companions/libraries.h"
#include "../companions/component_identity.h"

#define MESSAGE_SIZE 512

static int g_answering;
static char g_libraryPath[MAX_PATH];
static char g_copyFolder[MAX_PATH];
static int g_copyQuestions;

void AnswerFromCommandLine(const char *libraryPath, const char *copyFolder) {
    g_answering = libraryPath != NULL;
    g_copyQuestions = 0;
    lstrcpynA(g_libraryPath, libraryPath != NULL ? libraryPath : "", MAX_PATH);
    lstrcpynA(g_copyFolder, copyFolder, MAX_PATH);
}

// The copy question is the one box with three buttons. It is asked again
// only when the destination could not be used, and then the run gives up.
static int AnswerCopyQuestion(void) {
    if (g_copyFolder[0] == '\0')
        return IDNO;
    return g_copyQuestions++ == 0 ? IDYES : IDCANCEL;
}

int ShowBox(const char *text, const char *caption, UINT type) {
    LogBox(text, caption, !g_answering);
    if (!g_answering)
        return MessageBoxA(NULL, text, caption, type);
    return (type & MB_TYPEMASK) == MB_YESNOCANCEL ? AnswerCopyQuestion() : IDOK;
}

// What the open dialog's "file must exist" would refuse.
static int IsExistingFile(const char *path) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        LogCause("CreateFileA", path, GetLastError(), 0);
        return 0;
    }
    CloseHandle(file);
    return 1;
}

BOOL AskOpenFileName(OPENFILENAMEA *dialog) {
    char message[MESSAGE_SIZE];
    if (!g_answering)
        return CallGetOpenFileNameA(dialog);
    if (!IsExistingFile(g_libraryPath)) {
        wsprintfA(message, "ARQUIVO NAO ENCONTRADO:\r\n%s", g_libraryPath);
        ShowBox(message, COMPONENT_DESCRIPTION, MB_TOPMOST | MB_ICONERROR);
        return FALSE;
    }
    lstrcpynA(dialog->lpstrFile, g_libraryPath, (int)dialog->nMaxFile);
    return TRUE;
}

BOOL AskSaveFileName(OPENFILENAMEA *dialog) {
    char target[MAX_PATH];
    if (!g_answering)
        return CallGetSaveFileNameA(dialog);
    // However many backslashes end the folder, the file name follows one.
    int length = lstrlenA(g_copyFolder);
    while (length > 0 && g_copyFolder[length - 1] == '\\')
        length--;
    if (length + 1 + lstrlenA(COMPONENT_LIBRARY_FILE) >= (int)dialog->nMaxFile)
        return FALSE;
    lstrcpynA(target, g_copyFolder, length + 1);
    lstrcatA(target, "\\");
    lstrcatA(target, COMPONENT_LIBRARY_FILE);
    lstrcpyA(dialog->lpstrFile, target);
    return TRUE;
}
