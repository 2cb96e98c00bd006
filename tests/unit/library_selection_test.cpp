// Picking, checking and copying the library, with a scripted operator.
#include "program_fixture.h"
#include "../../src/install/library_selection.h"

#define CAPTION       "Quorvalis comunica com o SAT VORAN"
#define COPY_QUESTION "Deseja copiar a biblioteca para o diretório do aplicativo?"
#define CANCELLED     "REGISTRO DE   Quorvalis.dll   CANCELADO"
#define ZEPHOL_WARNING                                                                             \
    "A biblioteca ZEPHOL.dll e suas dependèncias devem ser copiadas para a mesma pasta da lib "   \
    "Quorvalis."
#define LIBRARY_COPY_ERROR "E R R O     NA   GRAVAÇÃO   DO  ARQUIVO Quorvalis.dll"
#define TYPELIB_COPY_ERROR "E R R O    NA GRAVAÇÃO DO ARQUIVO Quorvalis.tlb"

class Selection : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        AddLibrary("D:\\Lib\\");
        AddLibrary("C:\\Windows\\System32\\");
    }
    void AddLibrary(const std::string &folder) {
        fakewin::AddFile((folder + "Quorvalis.dll").c_str(), "library");
        fakewin::AddFile((folder + "Quorvalis.tlb").c_str(), "type library");
    }
    int Select() {
        memset(out, 0xdd, sizeof out);
        return SelectAndInstallLibrary(out);
    }
    std::vector<std::string> BoxTexts() {
        std::vector<std::string> texts;
        for (const auto &box : fakewin::MessageBoxes())
            texts.push_back(box.text);
        return texts;
    }
    char out[MAX_PATH];
};

TEST_F(Selection, DismissedOpenDialogReturnsNothingSilently) {
    fakewin::AnswerOpenDialog(NULL);
    EXPECT_EQ(0, Select());
    EXPECT_STREQ("", out);
    EXPECT_TRUE(fakewin::MessageBoxes().empty());
}

TEST_F(Selection, DialogRecordsAreTheSmallFormWithoutOwner) {
    fakewin::AnswerOpenDialog("D:\\Lib\\Quorvalis.dll");
    fakewin::AnswerMessageBox(IDYES);
    fakewin::AnswerSaveDialog(NULL);
    fakewin::AnswerMessageBox(IDCANCEL);
    fakewin::AnswerMessageBox(IDOK);
    Select();
    ASSERT_EQ(2u, fakewin::FileDialogs().size());
    struct {
        bool save;
        const char *title;
        DWORD flags;
    } expected[] = {{false, "Registrar Quorvalis.dll/tlb", 0x81800},
                    {true, "C O P I A R  Quorvalis.dll/tlb  para...", 0x80000}};
    for (int i = 0; i < 2; i++) {
        SCOPED_TRACE(i);
        const fakewin::FileDialogRecord &d = fakewin::FileDialogs()[i];
        EXPECT_EQ(expected[i].save, d.save);
        EXPECT_EQ(76u, d.structSize);
        EXPECT_EQ(nullptr, d.owner);
        EXPECT_EQ(nullptr, d.instance);
        EXPECT_EQ(std::string("DLL files\0*.dll\0\0", 17), d.filter);
        EXPECT_FALSE(d.customFilter);
        EXPECT_EQ(0u, d.filterIndex);
        EXPECT_EQ("Quorvalis.dll", d.initialFile);
        EXPECT_EQ(260u, d.maxFile);
        EXPECT_FALSE(d.fileTitle || d.initialDir || d.defExt || d.hook);
        EXPECT_EQ(expected[i].title, d.title);
        EXPECT_EQ(expected[i].flags, d.flags);
    }
}

TEST_F(Selection, NameMustBeTheLibrarysIgnoringCase) {
    struct {
        const char *name;
        bool accepted;
    } cases[] = {{"quorvalis.dll", true},
                 {"QUORVALIS.DLL", true},
                 {"Quorvalis.dll.bak", false},
                 {"Quorvalis.Dat", false},
                 {"Quorvalis2.dll", false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        std::string path = std::string("C:\\Windows\\System32\\") + c.name;
        fakewin::AddFile(path.c_str());
        fakewin::AnswerOpenDialog(path.c_str());
        if (!c.accepted)
            fakewin::AnswerMessageBox(IDOK);
        EXPECT_EQ(c.accepted ? 1 : 0, Select());
        EXPECT_EQ(c.accepted ? path : "", std::string(out));
        if (!c.accepted) {
            ASSERT_EQ(1u, fakewin::MessageBoxes().size());
            EXPECT_EQ(
                std::string("E R R O   - ARQUIVO SELECIONADO  NAO E' \"Quorvalis.DLL\"       \n") +
                    c.name,
                fakewin::MessageBoxes()[0].text);
            EXPECT_EQ(CAPTION, fakewin::MessageBoxes()[0].caption);
            EXPECT_EQ(0x40010u, fakewin::MessageBoxes()[0].flags);
        }
    }
}

TEST_F(Selection, TypeLibraryMustBeBesideTheLibrary) {
    const char *folders[] = {"E:\\NoTlb\\", "c:\\windows\\NoTlb\\", "E:\\Locked\\"};
    for (const char *folder : folders) {
        SCOPED_TRACE(folder);
        SetUp();
        std::string library = std::string(folder) + "Quorvalis.dll";
        std::string typeLib = std::string(folder) + "Quorvalis.tlb";
        fakewin::AddFile(library.c_str());
        if (std::string(folder) == "E:\\Locked\\") {
            fakewin::AddFile(typeLib.c_str());
            fakewin::LockFile(typeLib.c_str()); // held open elsewhere
        }
        fakewin::AnswerOpenDialog(library.c_str());
        fakewin::AnswerMessageBox(IDOK);
        EXPECT_EQ(0, Select());
        EXPECT_STREQ("", out);
        EXPECT_EQ(std::vector<std::string>(
                      {"ARQUIVO       Quorvalis.dll      ENCONTRADO,  MAS\nTIPO DE BIBLIOTECA NÃO "
                       "EXISTE:\n" +
                       typeLib}),
                  BoxTexts());
        EXPECT_EQ(0, fakewin::OpenFileHandles());
    }
}

TEST_F(Selection, OnlyTheFirstTenCharactersDecideTheWindowsFolder) {
    struct {
        const char *folder;
        bool asked;
    } cases[] = {{"C:\\Windows\\System32\\", false},
                 {"C:\\WINDOWSX\\", false},
                 {"D:\\WINDOWS\\", true},
                 {"C:\\Win\\", true}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.folder);
        SetUp();
        AddLibrary(c.folder);
        std::string library = std::string(c.folder) + "Quorvalis.dll";
        fakewin::AnswerOpenDialog(library.c_str());
        if (c.asked) {
            fakewin::AnswerMessageBox(IDNO);
            fakewin::AnswerMessageBox(IDOK);
        }
        EXPECT_EQ(1, Select());
        EXPECT_EQ(library, std::string(out));
        EXPECT_EQ(c.asked ? 2u : 0u, fakewin::MessageBoxes().size());
    }
}

TEST_F(Selection, NoCopyWarnsAboutDependenciesAndKeepsThePickedPath) {
    fakewin::AnswerOpenDialog("D:\\Lib\\Quorvalis.dll");
    fakewin::AnswerMessageBox(IDNO);
    fakewin::AnswerMessageBox(IDOK);
    EXPECT_EQ(1, Select());
    EXPECT_STREQ("D:\\Lib\\Quorvalis.dll", out);
    EXPECT_EQ(std::vector<std::string>({COPY_QUESTION, ZEPHOL_WARNING}), BoxTexts());
    EXPECT_EQ(0x40023u, fakewin::MessageBoxes()[0].flags);
    EXPECT_EQ("A V I S O", fakewin::MessageBoxes()[1].caption);
    EXPECT_EQ(0x40030u, fakewin::MessageBoxes()[1].flags);
}

TEST_F(Selection, AnythingButYesOrNoCancels) {
    for (int answer : {IDCANCEL, IDOK, 0}) {
        SCOPED_TRACE(answer);
        SetUp();
        fakewin::AnswerOpenDialog("D:\\Lib\\Quorvalis.dll");
        fakewin::AnswerMessageBox(answer);
        fakewin::AnswerMessageBox(IDOK);
        EXPECT_EQ(0, Select());
        EXPECT_STREQ("", out);
        EXPECT_EQ(std::vector<std::string>({COPY_QUESTION, CANCELLED}), BoxTexts());
        EXPECT_EQ(0x40030u, fakewin::MessageBoxes()[1].flags);
    }
}

TEST_F(Selection, DismissedSaveDialogAsksAgainWithTheNameReset) {
    fakewin::AnswerOpenDialog("D:\\Lib\\Quorvalis.dll");
    fakewin::AnswerMessageBox(IDYES);
    fakewin::AnswerSaveDialog(NULL);
    fakewin::AnswerMessageBox(IDYES);
    fakewin::AnswerSaveDialog("E:\\App\\Quorvalis.dll");
    fakewin::AnswerMessageBox(IDOK);
    EXPECT_EQ(1, Select());
    EXPECT_EQ(std::vector<std::string>({COPY_QUESTION, COPY_QUESTION, ZEPHOL_WARNING}), BoxTexts());
    ASSERT_EQ(3u, fakewin::FileDialogs().size());
    EXPECT_EQ("Quorvalis.dll", fakewin::FileDialogs()[2].initialFile);
}

TEST_F(Selection, CopyIntoTheSameFolderIsRefusedUnderAnyName) {
    for (const char *destination : {"D:\\Lib\\Quorvalis.dll", "D:\\Lib\\outro.dll"}) {
        SCOPED_TRACE(destination);
        SetUp();
        fakewin::AnswerOpenDialog("D:\\Lib\\Quorvalis.dll");
        fakewin::AnswerMessageBox(IDYES);
        fakewin::AnswerSaveDialog(destination);
        fakewin::AnswerMessageBox(IDOK);
        EXPECT_EQ(0, Select());
        EXPECT_EQ(std::vector<std::string>({COPY_QUESTION,
                                            "E R R O   - TENTANDO   COPIAR   PARA   O   MESMO   "
                                            "DIRETÓRIO     \nD:\\Lib"}),
                  BoxTexts());
        EXPECT_EQ(0, fakewin::CallCount("CopyFileA"));
    }
}

// The folder test respects letter case, so the copy is attempted; onto the
// very same file it then fails like any copy.
TEST_F(Selection, FoldersDifferingOnlyInCaseAreCopiedTo) {
    fakewin::AnswerOpenDialog("D:\\Lib\\Quorvalis.dll");
    fakewin::AnswerMessageBox(IDYES);
    fakewin::AnswerSaveDialog("d:\\lib\\Quorvalis.dll");
    fakewin::AnswerMessageBox(IDOK);
    EXPECT_EQ(0, Select());
    EXPECT_EQ(1, fakewin::CallCount("CopyFileA"));
    EXPECT_EQ(LIBRARY_COPY_ERROR, BoxTexts().back());
}

TEST_F(Selection, CopiesLibraryThenTypeLibraryReplacingExistingFiles) {
    fakewin::AddFile("E:\\App\\outro.dll", "old library");
    fakewin::AddFile("E:\\App\\Quorvalis.tlb", "old type library");
    fakewin::AnswerOpenDialog("D:\\Lib\\Quorvalis.dll");
    fakewin::AnswerMessageBox(IDYES);
    fakewin::AnswerSaveDialog("E:\\App\\outro.dll");
    fakewin::AnswerMessageBox(IDOK);
    EXPECT_EQ(1, Select());
    EXPECT_STREQ("E:\\App\\outro.dll", out);
    EXPECT_EQ("library", fakewin::FileContents("E:\\App\\outro.dll"));
    EXPECT_EQ("type library", fakewin::FileContents("E:\\App\\Quorvalis.tlb"));
    EXPECT_EQ(ZEPHOL_WARNING, BoxTexts().back());
}

TEST_F(Selection, CopyFailuresNameTheFixedFiles) {
    const std::string longFolder = "E:\\" + std::string(250, 'f') + "\\";
    const std::string shortNameInLongFolder = longFolder + "a.dll";
    struct {
        const char *label;
        int failingCopy;
        std::string destination;
        const char *text;
        bool libraryCopied;
    } cases[] = {
        {"library copy fails", 1, "E:\\App\\Quorvalis.dll", LIBRARY_COPY_ERROR, false},
        {"type-library copy fails", 2, "E:\\App\\Quorvalis.dll", TYPELIB_COPY_ERROR, true},
        {"type-library path too long", 0, shortNameInLongFolder, TYPELIB_COPY_ERROR, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.label);
        SetUp();
        if (c.failingCopy)
            fakewin::FailNthCall("CopyFileA", c.failingCopy);
        fakewin::AnswerOpenDialog("D:\\Lib\\Quorvalis.dll");
        fakewin::AnswerMessageBox(IDYES);
        fakewin::AnswerSaveDialog(c.destination.c_str());
        fakewin::AnswerMessageBox(IDOK);
        EXPECT_EQ(0, Select());
        EXPECT_STREQ("", out);
        EXPECT_EQ(std::vector<std::string>({COPY_QUESTION, c.text}), BoxTexts());
        EXPECT_EQ(c.libraryCopied, fakewin::FileExists(c.destination.c_str()));
    }
}
