// SelectAndInstallLibrary with an operator scripted by the fuzz input: any
// path from the open and save dialogs (up to 300 bytes of any value, so also
// ones the dialogs refuse as too long), any button codes, files present,
// absent or held open, and either copy failing.
//
// Input: file flags (bit 0 the type library beside the picked file, bit 1
// the picked file itself, bit 2 the type library held open elsewhere), the
// failing copy (1 or 2; anything else: none), the open dialog (a first byte
// divisible by 8 dismisses it, else a path follows), up to 7 message box
// answers (signed bytes), up to 3 save dialogs (as the open dialog).
#include <windows.h>
#include <strings.h>
#include <string>
#include <vector>
#include "fuzz_check.h"
#include "fuzz_input.h"
#include "program_state.h"
#include "../../src/install/library_selection.h"

#define NAME_ERROR "E R R O   - ARQUIVO SELECIONADO  NAO E' \"Quorvalis.DLL\"       \n"
#define NO_TYPELIB                                                                                 \
    "ARQUIVO       Quorvalis.dll      ENCONTRADO,  MAS\nTIPO DE BIBLIOTECA NÃO EXISTE:\n"
#define COPY_QUESTION "Deseja copiar a biblioteca para o diretório do aplicativo?"
#define CANCELLED     "REGISTRO DE   Quorvalis.dll   CANCELADO"
#define SAME_FOLDER   "E R R O   - TENTANDO   COPIAR   PARA   O   MESMO   DIRETÓRIO     \n"
#define LIBRARY_COPY  "E R R O     NA   GRAVAÇÃO   DO  ARQUIVO Quorvalis.dll"
#define TYPELIB_COPY  "E R R O    NA GRAVAÇÃO DO ARQUIVO Quorvalis.tlb"
#define ZEPHOL_WARNING                                                                             \
    "A biblioteca ZEPHOL.dll e suas dependèncias devem ser copiadas para a mesma pasta da lib "   \
    "Quorvalis."

enum Box { OTHER, M1, M2, M3, M4, M5, M6, M7, M8 };

static bool StartsWith(const std::string &text, const char *prefix) {
    return text.compare(0, strlen(prefix), prefix) == 0;
}

static Box Classify(const fakewin::MessageBoxRecord &box) {
    if (box.caption == "A V I S O")
        return box.text == ZEPHOL_WARNING && box.flags == 0x40030 ? M8 : OTHER;
    if (box.caption != COMPONENT_CAPTION || box.owner != NULL)
        return OTHER;
    if (StartsWith(box.text, NAME_ERROR) && box.flags == 0x40010)
        return M1;
    if (StartsWith(box.text, NO_TYPELIB) && box.flags == 0x40010)
        return M2;
    if (box.text == COPY_QUESTION && box.flags == 0x40023)
        return M3;
    if (box.text == CANCELLED && box.flags == 0x40030)
        return M4;
    if (StartsWith(box.text, SAME_FOLDER) && box.flags == 0x40010)
        return M5;
    if (box.text == LIBRARY_COPY && box.flags == 0x40010)
        return M6;
    if (box.text == TYPELIB_COPY && box.flags == 0x40010)
        return M7;
    return OTHER;
}

// A dialog answer: false for a dismissal, else the confirmed path.
static bool TakeDialogAnswer(FuzzInput *in, std::string *path) {
    if (TakeByte(in) % 8 == 0)
        return false;
    *path = TakeText(in, 300);
    return true;
}

static void Run(FuzzInput in) {
    int files = TakeByte(&in);
    int failingCopy = TakeByte(&in);
    std::string picked;
    bool openConfirmed = TakeDialogAnswer(&in, &picked);
    std::vector<int> answers;
    for (int i = TakeBelow(&in, 8); i > 0; i--)
        answers.push_back((int8_t)TakeByte(&in));
    std::vector<std::string> saved;
    for (int i = TakeBelow(&in, 4); i > 0; i--) {
        std::string path;
        bool confirmed = TakeDialogAnswer(&in, &path);
        fakewin::AnswerSaveDialog(confirmed ? path.c_str() : NULL);
        if (confirmed)
            saved.push_back(path);
    }

    fakewin::AnswerOpenDialog(openConfirmed ? picked.c_str() : NULL);
    for (int answer : answers)
        fakewin::AnswerMessageBox(answer);
    // Past the script the operator cancels, and dismisses any further dialog.
    PadMessageBoxAnswers(IDCANCEL, 2);
    for (int i = 0; i < 8; i++)
        fakewin::AnswerSaveDialog(NULL);
    std::string typeLib = SiblingPath(picked, "Quorvalis.tlb");
    if (files & 1)
        fakewin::AddFile(typeLib.c_str(), "type library");
    if (files & 2)
        fakewin::AddFile(picked.c_str(), "library");
    if ((files & 5) == 5)
        fakewin::LockFile(typeLib.c_str());
    if (failingCopy == 1 || failingCopy == 2)
        fakewin::FailNthCall("CopyFileA", failingCopy);

    std::vector<char> out(MAX_PATH, '\x5a');
    int result = SelectAndInstallLibrary(out.data());

    FUZZ_CHECK(result == 0 || result == 1, "the result is neither 0 nor 1");
    FUZZ_CHECK(IsTerminated(out.data(), out.size()), "out is not terminated");
    CheckNothingLeftOpen();
    FUZZ_CHECK(fakewin::CallCount("CopyFileA") <= 2, "more than two copies");
    // Only copy questions come before the box that ends the call.
    const std::vector<fakewin::MessageBoxRecord> &boxes = fakewin::MessageBoxes();
    for (size_t i = 0; i + 1 < boxes.size(); i++)
        FUZZ_CHECK(Classify(boxes[i]) == M3, "a box other than the copy question before the last");
    Box last = boxes.empty() ? OTHER : Classify(boxes.back());
    if (result == 0) {
        FUZZ_CHECK(out[0] == '\0', "out is not empty on 0");
        if (boxes.empty())
            FUZZ_CHECK(fakewin::FileDialogs().size() == 1, "a silent refusal past the open dialog");
        else
            FUZZ_CHECK(last != OTHER && last != M3 && last != M8, "a refusal without its box");
        return;
    }
    std::string chosen = out.data();
    if (boxes.empty())
        FUZZ_CHECK(strncasecmp(picked.c_str(), "c:\\windows", 10) == 0,
                   "accepted outside c:\\WINDOWS without the copy question");
    else
        FUZZ_CHECK(last == M8, "accepted without the closing warning");
    if (chosen == picked)
        return;
    bool isCopy = false;
    for (const std::string &path : saved)
        isCopy = isCopy || chosen == path;
    FUZZ_CHECK(isCopy, "out is neither the picked path nor a copy's");
    FUZZ_CHECK(fakewin::FileExists(chosen.c_str()) &&
                   fakewin::FileExists(SiblingPath(chosen, "Quorvalis.tlb").c_str()),
               "a copy accepted without both files at the destination");
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    ResetProgram();
    Run({data, size});
    EndRun();
    return 0;
}
