// Picking the component library in an open-file dialog, checking it, and
// copying it with its type library into a folder of the operator's choice.
#include <windows.h>
#include "library_selection.h"
#include "path_utils.h"
#include "../companions/component_identity.h"
#include "../operator/activity_log.h"
#include "../operator/dialogue.h"
#include "../operator/file_guard.h"

#define NAME_PART_SIZE       512
#define NAME_ERROR_SIZE      1024
#define WINDOWS_PREFIX_CHARS 10
#define COPY_BUFFER_SIZE     65536

static const char REQUIRED_NAME[] = "Quorvalis.DLL";
static const char WINDOWS_PREFIX[] = "c:\\WINDOWS";
static const char DLL_FILTER[] = "DLL files\0*.dll\0";
static const UINT ERROR_BOX = MB_TOPMOST | MB_ICONERROR;
static const UINT WARNING_BOX = MB_TOPMOST | MB_ICONWARNING;

static int Show(const char *text, UINT type) {
    return ShowBox(text, COMPONENT_DESCRIPTION, type);
}

static int ShowWithTail(const char *text, const char *tail, UINT type) {
    char message[NAME_ERROR_SIZE];
    lstrcpynA(message, text, NAME_ERROR_SIZE);
    lstrcpynA(message + lstrlenA(message), tail, NAME_ERROR_SIZE - lstrlenA(message));
    return Show(message, type);
}

static int SameText(const char *a, int aLength, const char *b, int bLength) {
    return CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, a, aLength, b, bLength) ==
           CSTR_EQUAL;
}

static void PrepareDialog(OPENFILENAMEA *dialog, char *file, const char *title, DWORD flags) {
    ZeroMemory(dialog, sizeof(*dialog));
    dialog->lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    dialog->lpstrFilter = DLL_FILTER;
    dialog->lpstrFile = file;
    dialog->nMaxFile = MAX_PATH;
    dialog->lpstrTitle = title;
    dialog->Flags = flags;
    lstrcpyA(file, COMPONENT_LIBRARY_FILE);
}

static int HasLibraryName(const char *pickedPath) {
    char namePart[NAME_PART_SIZE];
    ExtractFileName(namePart, NAME_PART_SIZE, pickedPath);
    if (SameText(namePart, -1, REQUIRED_NAME, -1))
        return 1;
    ShowWithTail("E R R O   - ARQUIVO SELECIONADO  NAO E' \"Quorvalis.DLL\"       \n", namePart,
                 ERROR_BOX);
    return 0;
}

// Share mode 0: a type library another process holds open counts as absent,
// since registering it would fail anyway.
static int HasTypeLibrary(const char *pickedPath) {
    char typeLibPath[MAX_PATH];
    char message[NAME_PART_SIZE];
    lstrcpyA(typeLibPath, pickedPath);
    if (ReplaceFileName(typeLibPath, MAX_PATH, COMPONENT_TYPELIB_FILE)) {
        HANDLE file = CreateFileA(typeLibPath, GENERIC_READ, 0, NULL, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, NULL);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            return 1;
        }
        LogCause("CreateFileA", typeLibPath, GetLastError(), 0);
    }
    wsprintfA(message, "ARQUIVO       %s      ENCONTRADO,  MAS\n", COMPONENT_LIBRARY_FILE);
    lstrcatA(message, "TIPO DE BIBLIOTECA NÃO EXISTE:\n");
    ShowWithTail(message, typeLibPath, ERROR_BOX);
    return 0;
}

static int IsUnderWindowsFolder(const char *pickedPath) {
    int length = lstrlenA(pickedPath);
    if (length > WINDOWS_PREFIX_CHARS)
        length = WINDOWS_PREFIX_CHARS;
    return SameText(pickedPath, length, WINDOWS_PREFIX, WINDOWS_PREFIX_CHARS);
}

enum CopyAnswer { COPY_ASKED_YES, COPY_ASKED_NO, COPY_CANCELLED };

static enum CopyAnswer AskToCopy(void) {
    switch (Show("Deseja copiar a biblioteca para o diretório do aplicativo?",
                 MB_TOPMOST | MB_ICONQUESTION | MB_YESNOCANCEL)) {
    case IDYES:
        return COPY_ASKED_YES;
    case IDNO:
        return COPY_ASKED_NO;
    }
    char message[NAME_PART_SIZE];
    wsprintfA(message, "REGISTRO DE   %.64s   CANCELADO", COMPONENT_LIBRARY_FILE);
    Show(message, WARNING_BOX);
    return COPY_CANCELLED;
}

// Copies through handles rather than by name: the target is opened and
// checked before a byte is written, so no link standing at its name can take
// the copy elsewhere. The source is opened first, sharing no writes: a target
// that is the source under another spelling cannot be opened. Returns 0 after
// writing the failed call's cause to the log file.
static int CopyToFile(const char *source, const char *target) {
    static char buffer[COPY_BUFFER_SIZE];
    DWORD read = 0, written = 0;
    FILETIME modified;
    HANDLE from = CreateFileA(source, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    HANDLE to = from != INVALID_HANDLE_VALUE ? OpenFileToWrite(target, 0) : INVALID_HANDLE_VALUE;
    const char *call = to != INVALID_HANDLE_VALUE ? "SetEndOfFile" : "CreateFileA";
    int copied = to != INVALID_HANDLE_VALUE && SetEndOfFile(to);
    while (copied) {
        call = "ReadFile";
        copied = ReadFile(from, buffer, COPY_BUFFER_SIZE, &read, NULL);
        if (!copied || read == 0)
            break;
        call = "WriteFile";
        copied = WriteFile(to, buffer, read, &written, NULL) && written == read;
    }
    if (!copied)
        LogCause(call, from == INVALID_HANDLE_VALUE || call[0] == 'R' ? source : target,
                 GetLastError(), 0);
    // The copy keeps the time of the last change, as a copy in Explorer does.
    if (copied && GetFileTime(from, NULL, NULL, &modified))
        SetFileTime(to, NULL, NULL, &modified);
    if (from != INVALID_HANDLE_VALUE)
        CloseHandle(from);
    if (to != INVALID_HANDLE_VALUE)
        CloseHandle(to);
    return copied;
}

// Copies the library, then its type library beside the copy; on success the
// picked path becomes the copy's. Returns 0 after telling the operator why not.
static int CopyLibrary(char *pickedPath, const char *destination) {
    char sourceFolder[MAX_PATH];
    char destinationFolder[MAX_PATH];
    char sourceTypeLib[MAX_PATH];
    char destinationTypeLib[MAX_PATH];

    ExtractDirectory(sourceFolder, MAX_PATH, pickedPath);
    ExtractDirectory(destinationFolder, MAX_PATH, destination);
    if (lstrcmpA(sourceFolder, destinationFolder) == 0) {
        ShowWithTail("E R R O   - TENTANDO   COPIAR   PARA   O   MESMO   DIRETÓRIO     \n",
                     sourceFolder, ERROR_BOX);
        return 0;
    }
    if (!CopyToFile(pickedPath, destination)) {
        ShowWithTail("E R R O     NA   GRAVAÇÃO   DO  ARQUIVO ", COMPONENT_LIBRARY_FILE, ERROR_BOX);
        return 0;
    }
    lstrcpyA(sourceTypeLib, pickedPath);
    lstrcpyA(destinationTypeLib, destination);
    // A destination whose type-library path cannot be formed is a failed copy.
    if (!ReplaceFileName(sourceTypeLib, MAX_PATH, COMPONENT_TYPELIB_FILE) ||
        !ReplaceFileName(destinationTypeLib, MAX_PATH, COMPONENT_TYPELIB_FILE) ||
        !CopyToFile(sourceTypeLib, destinationTypeLib)) {
        ShowWithTail("E R R O    NA GRAVAÇÃO DO ARQUIVO ", COMPONENT_TYPELIB_FILE, ERROR_BOX);
        return 0;
    }
    lstrcpyA(pickedPath, destination);
    return 1;
}

// The copy dialogue: returns 1 to go on with pickedPath (picked or copied).
static int OfferCopy(char *pickedPath) {
    char destination[MAX_PATH];
    OPENFILENAMEA saveDialog;
    for (;;) {
        enum CopyAnswer answer = AskToCopy();
        if (answer == COPY_CANCELLED)
            return 0;
        if (answer == COPY_ASKED_NO)
            return 1;
        PrepareDialog(&saveDialog, destination, "C O P I A R  Quorvalis.dll/tlb  para...",
                      OFN_EXPLORER);
        if (AskSaveFileName(&saveDialog))
            return CopyLibrary(pickedPath, destination);
    }
}

int SelectAndInstallLibrary(char *out) {
    char pickedPath[MAX_PATH];
    OPENFILENAMEA openDialog;

    out[0] = '\0';
    PrepareDialog(&openDialog, pickedPath, "Registrar Quorvalis.dll/tlb",
                  OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST);
    if (!AskOpenFileName(&openDialog))
        return 0;
    if (!HasLibraryName(pickedPath) || !HasTypeLibrary(pickedPath))
        return 0;
    if (!IsUnderWindowsFolder(pickedPath)) {
        if (!OfferCopy(pickedPath))
            return 0;
        ShowBox("A biblioteca ZEPHOL.dll e suas dependèncias devem ser copiadas para a mesma "
                "pasta da lib Quorvalis.",
                "A V I S O", WARNING_BOX);
    }
    lstrcpyA(out, pickedPath);
    return 1;
}
