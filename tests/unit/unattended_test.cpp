// Runs from the command line: the window's steps answered from the
// arguments, the log file, the exit codes and one copy at a time.
#include "registry_lines.h"
#include "../../res/resource.h"
#include "../../src/shell/installer.h"

#define LIBRARY "D:\\Lib\\Quorvalis.dll"
#define LOG     "C:\\Automação Comercial\\qv.log"
#define BOM     "\xEF\xBB\xBF"
#define HEADER  "=== REGQuorvalis 32 bits <XP> 1, 0, 0, 0 - 07/12/2026 09:05:03 - argumentos: "

static void WINAPI WriteVersion(char *buffer) {
    strcpy(buffer, "1.2.3");
}

// The file's text back in code page 1252, the program's own, line by line.
static Lines FileLines(const char *path) {
    std::string bytes = fakewin::FileContents(path), text;
    EXPECT_EQ(0u, bytes.rfind(BOM, 0)) << "starts with a UTF-8 byte order mark";
    for (size_t i = 3; i < bytes.size(); i++) {
        unsigned char c = bytes[i];
        if (c >= 0xC2 && c <= 0xC3 && i + 1 < bytes.size())
            text += (char)(((c & 0x1F) << 6) | (bytes[++i] & 0x3F));
        else
            text += (char)c;
    }
    Lines lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(text.size(), start) << "every line ends with CRLF";
    return lines;
}

class Unattended : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        AddRegistrar();
        fakewin::AddFile(LIBRARY);
        fakewin::AddFile("D:\\Lib\\Quorvalis.tlb");
        fakewin::AddModule(LIBRARY, {{"Get_VersaoDLL", (void *)WriteVersion}});
    }
    void ExpectNothingChanged() {
        EXPECT_EQ(0, fakewin::CallCount("LoadLibraryA")) << "the registrar was loaded";
        EXPECT_FALSE(fakewin::KeyExists(PROGID_PATH));
        EXPECT_FALSE(fakewin::FileExists(LOG));
    }
};

TEST_F(Unattended, LogFileHoldsTheWindowsLinesAndEveryBoxMarked) {
    // The same request through the window, with its log list and log file.
    PressWhenIdle(IDC_REGISTER);
    fakewin::AnswerOpenDialog(LIBRARY);
    fakewin::AnswerMessageBox(IDNO);
    fakewin::AnswerMessageBox(IDOK);
    fakewin::AnswerMessageBox(IDOK);
    Lines windowLines;
    fakewin::OnIdle([this, &windowLines] { windowLines = Log(); });
    EXPECT_EQ(0, RunProgram("/log \"" LOG "\""));
    Lines windowFile = FileLines(LOG);

    fakewin::RemoveFile(LOG);
    EXPECT_EQ(EXIT_DONE, RunProgram("/s " LIBRARY " /log \"" LOG "\""));
    Lines unattendedFile = FileLines(LOG);
    EXPECT_EQ(3u, fakewin::MessageBoxes().size()) << "none more were shown";
    EXPECT_EQ(1, fakewin::CallCount("CreateDialogParamA")) << "the first run's window only";

    const Lines boxes = {
        "Quorvalis comunica com o SAT VORAN | Deseja copiar a biblioteca para o diretório do "
        "aplicativo?",
        "A V I S O | A biblioteca ZEPHOL.dll e suas dependèncias devem ser copiadas para a mesma "
        "pasta da lib Quorvalis.",
        "Quorvalis comunica com o SAT VORAN | " SUCCESS_LINE,
    };
    ASSERT_EQ(16u, windowLines.size()) << "fourteen registration lines and two outcome lines";
    Lines expected = {HEADER "/log \"" LOG "\" ===", "[mensagem exibida] " + boxes[0],
                      "[mensagem exibida] " + boxes[1]};
    for (const std::string &line : windowLines) {
        expected.push_back(line);
        if (line == SUCCESS_LINE)
            expected.push_back("[mensagem exibida] " + boxes[2]);
    }
    EXPECT_EQ(expected, windowFile);
    ASSERT_EQ(expected.size(), unattendedFile.size());
    EXPECT_EQ(HEADER "/s " LIBRARY " /log \"" LOG "\" ===", unattendedFile[0]);
    for (size_t i = 1; i < expected.size(); i++) {
        std::string line = expected[i];
        if (line.rfind("[mensagem exibida]", 0) == 0)
            line.replace(0, 18, "[mensagem não exibida]");
        EXPECT_EQ(line, unattendedFile[i]);
    }
}

TEST_F(Unattended, EachOutcomeHasItsExitCode) {
    struct {
        const char *label;
        std::function<void()> arrange;
        std::string commandLine;
        int exitCode;
        bool layoutLeft;
    } cases[] = {
        {"registered", [] {}, "/s " LIBRARY, EXIT_DONE, true},
        {"no registrar", [] { fakewin::AddModule("REGQUORVALIS2.OCX", {}); }, "/s " LIBRARY,
         EXIT_REGISTRAR_UNUSABLE, false},
        {"another name", [] { fakewin::AddFile("D:\\Lib\\Outra.dll"); }, "/s D:\\Lib\\Outra.dll",
         EXIT_LIBRARY_REFUSED, false},
        {"no such library", [] {}, "/s D:\\Outra\\Quorvalis.dll", EXIT_LIBRARY_REFUSED, false},
        {"no type library", [] { fakewin::RemoveFile("D:\\Lib\\Quorvalis.tlb"); }, "/s " LIBRARY,
         EXIT_LIBRARY_REFUSED, false},
        {"copy fails", [] { fakewin::FailOnPath("CopyFileA", "E:\\Destino\\Quorvalis.dll"); },
         "/s " LIBRARY " /copy E:\\Destino", EXIT_LIBRARY_REFUSED, false},
        {"copy target too long", [] {}, "/s " LIBRARY " /copy E:\\" + std::string(245, 'd'),
         EXIT_LIBRARY_REFUSED, false},
        {"registration undone", [] { fakewin::FailNthCall("RegCreateKeyExA", 2); }, "/s " LIBRARY,
         EXIT_REGISTRATION_UNDONE, false},
        {"reset", [this] { SeedLayout(LIBRARY); }, "/u /s", EXIT_DONE, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.label);
        SetUp();
        c.arrange();
        EXPECT_EQ(c.exitCode, RunProgram(c.commandLine.c_str()));
        EXPECT_TRUE(fakewin::MessageBoxes().empty()) << "a box was shown";
        EXPECT_EQ(c.layoutLeft, fakewin::KeyExists(CLASS_PATH "\\InprocServer32"));
        ExpectNoOpenHandles();
    }
    EXPECT_FALSE(fakewin::KeyExists(PROGID_PATH)) << "the reset removed the seeded layout";
}

TEST_F(Unattended, CopyGoesBeforeRegistration) {
    EXPECT_EQ(EXIT_DONE, RunProgram("/s " LIBRARY " /copy \"E:\\Automação Comercial\\\""));
    EXPECT_TRUE(fakewin::FileExists("E:\\Automação Comercial\\Quorvalis.tlb"));
    EXPECT_EQ(std::string("E:\\Automação Comercial\\Quorvalis.dll") + '\0',
              fakewin::ReadValue(CLASS_PATH "\\InprocServer32", nullptr).bytes);
}

TEST_F(Unattended, RefusedLinesAndUnopenableLogChangeNothing) {
    struct {
        const char *commandLine;
        int exitCode;
        size_t boxes;
    } cases[] = {
        {"/?", EXIT_BAD_COMMAND_LINE, 1},
        {"/s /x " LIBRARY " /log \"" LOG "\"", EXIT_BAD_COMMAND_LINE, 0},
        {"/copy E:\\Destino /log \"" LOG "\"", EXIT_BAD_COMMAND_LINE, 1},
        {"/s \"" LIBRARY, EXIT_BAD_COMMAND_LINE, 0},
        {"/s " LIBRARY " /log \"" LOG "\"", EXIT_LOG_NOT_WRITABLE, 0},
        {"/s " LIBRARY " /log \\\\.\\PhysicalDrive0", EXIT_LOG_NOT_WRITABLE, 0},
        {"/s " LIBRARY " /log CON", EXIT_LOG_NOT_WRITABLE, 0},
        {"/log \"" LOG "\"", EXIT_LOG_NOT_WRITABLE, 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.commandLine);
        SetUp();
        fakewin::FailOnPath("CreateFileA", LOG);
        fakewin::AddDevice("CON");
        for (size_t i = 0; i < c.boxes; i++)
            fakewin::AnswerMessageBox(IDOK);
        EXPECT_EQ(c.exitCode, RunProgram(c.commandLine));
        EXPECT_EQ(c.boxes, fakewin::MessageBoxes().size());
        ExpectNothingChanged();
        ExpectNoOpenHandles();
        EXPECT_FALSE(fakewin::FileExists("\\\\.\\PhysicalDrive0")) << "a raw disk was opened";
        EXPECT_EQ("", fakewin::FileContents("CON")) << "a device was written to";
    }
    EXPECT_EQ(0u,
              fakewin::MessageBoxes().at(0).text.find("NAO FOI POSSIVEL ABRIR O ARQUIVO DE LOG"));
}

TEST_F(Unattended, SecondCopyLeavesEverythingToTheFirst) {
    for (const char *commandLine : {"/s " LIBRARY " /log \"" LOG "\"", ""}) {
        SCOPED_TRACE(commandLine);
        SetUp();
        fakewin::HoldMutex(INSTANCE_MUTEX_NAME);
        HWND first = (HWND)0x7000;
        fakewin::AddOtherWindow(MAKEINTATOM(IDD_MAIN), first);
        EXPECT_EQ(EXIT_ALREADY_RUNNING, RunProgram(commandLine));
        EXPECT_EQ(commandLine[0] ? nullptr : first, fakewin::ForegroundWindow());
        EXPECT_EQ(0, fakewin::CallCount("CreateDialogParamA"));
        ExpectNothingChanged();
        ExpectNoOpenHandles();
    }
}

TEST_F(Unattended, EachRunAppendsItsOwnHeaderAndReleasesTheMutex) {
    EXPECT_EQ(EXIT_DONE, RunProgram("/u /s /log \"" LOG "\""));
    EXPECT_EQ(EXIT_DONE, RunProgram("/u /s /log \"" LOG "\""));
    Lines lines = FileLines(LOG);
    EXPECT_EQ(Join({HEADER "/u /s /log \"" LOG "\" ==="}, ResetNothingLines()),
              Lines(lines.begin(), lines.begin() + lines.size() / 2));
    EXPECT_EQ(lines[0], lines[lines.size() / 2]) << "a second header, no second mark";
}
