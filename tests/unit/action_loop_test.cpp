// Start-up and the action loop, run through InstallerMain with a scripted operator.
#include "program_fixture.h"
#include "../../res/resource.h"
#include "../../src/shell/installer.h"
#include "../../src/operator/window_services.h"

#define REMOVED_TEXT                                                                               \
    "Removido o registro da biblioteca   Quorvalis.dll   como um   <C O M>  componente."
#define REGISTERED_LINE "D L L      R E G I S T R A D A !"

class ActionLoop : public ProgramTest {
  protected:
    int Run() {
        return RunProgram();
    }
    void ExpectRegistrarFreed() {
        EXPECT_EQ(0, fakewin::ModuleLoadCount("REGQUORVALIS2.OCX"));
    }
};

TEST_F(ActionLoop, StartUpFailuresShowOneBoxAndEndWithZero) {
    struct {
        const char *label;
        std::vector<fakewin::Export> exports;
        const char *text;
    } cases[] = {
        {"no library", {}, "BIBLIOTECA REGQUORVALIS2.OCX NAO ENCONTRADA"},
        {"no DllRegisterServer",
         {{"DllUnregisterServer", (void *)FakeDllUnregisterServer}},
         "FUNCAO DllRegisterServer DA BIBLIOTECA REGQUORVALIS2.OCXNAO ENCONTRADA"},
        {"no DllUnregisterServer",
         {{"DllRegisterServer", (void *)FakeDllRegisterServer}},
         "FUNCAO DllUnregisterServer DA BIBLIOTECA REGQUORVALIS2.OCXNAO ENCONTRADA"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.label);
        SetUp();
        if (!c.exports.empty())
            fakewin::AddModule("REGQUORVALIS2.OCX", c.exports);
        fakewin::AnswerMessageBox(IDOK);
        EXPECT_EQ(0, Run());
        ASSERT_EQ(1u, fakewin::MessageBoxes().size());
        EXPECT_EQ(c.text, fakewin::MessageBoxes()[0].text);
        EXPECT_EQ("E R R O", fakewin::MessageBoxes()[0].caption);
        EXPECT_EQ(0x40010u, fakewin::MessageBoxes()[0].flags);
        EXPECT_EQ(nullptr, fakewin::MessageBoxes()[0].owner);
        EXPECT_EQ(0, fakewin::CallCount("CreateDialogParamA")) << "no window on a failed start";
        ExpectRegistrarFreed();
    }
}

TEST_F(ActionLoop, WindowCreationFailureFreesTheRegistrar) {
    AddRegistrar();
    fakewin::FailNthCall("CreateDialogParamA", 1);
    fakewin::AnswerMessageBox(IDOK);
    EXPECT_EQ(0, Run());
    EXPECT_EQ("ERRO NA CRIAÇÃO DA JANELA !!!", fakewin::MessageBoxes().at(0).text);
    ExpectRegistrarFreed();
}

TEST_F(ActionLoop, ClosingWhileIdleEndsWithZeroAndFreesTheRegistrar) {
    AddRegistrar();
    fakewin::OnIdle([] { EXPECT_TRUE(fakewin::IsVisible(g_hMainWnd)); });
    EXPECT_EQ(0, Run()); // the exhausted script closes the window
    EXPECT_EQ(nullptr, g_hMainWnd);
    EXPECT_EQ(1, g_closeRequested);
    EXPECT_TRUE(fakewin::MessageBoxes().empty());
    EXPECT_EQ(0, g_registrar.unregisterCalls + g_registrar.registerCalls);
    ExpectRegistrarFreed();
    EXPECT_GE(fakewin::IdleWaits(), 1) << "an idle window waits instead of polling";
}

TEST_F(ActionLoop, CloseTakesPrecedenceOverAPendingRequest) {
    AddRegistrar();
    fakewin::OnIdle([] {
        PostMessageA(g_hMainWnd, WM_COMMAND, MAKEWPARAM(IDC_RESET, BN_CLICKED), 0);
        PostMessageA(g_hMainWnd, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(0, Run());
    EXPECT_EQ(0, g_registrar.unregisterCalls) << "the reset never ran";
}

TEST_F(ActionLoop, ResetShowsTheRemovalBoxOnlyWhenSomethingWasRemoved) {
    struct {
        bool registered;
        size_t boxes;
    } cases[] = {{false, 0}, {true, 1}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.registered);
        SetUp();
        AddRegistrar();
        if (c.registered) {
            SeedLayout("D:\\Lib\\Quorvalis.dll");
            fakewin::AnswerMessageBox(IDOK);
        }
        PressWhenIdle(IDC_RESET);
        EXPECT_EQ(0, Run());
        EXPECT_EQ(1, g_registrar.unregisterCalls);
        ASSERT_EQ(c.boxes, fakewin::MessageBoxes().size());
        if (c.boxes) {
            EXPECT_EQ(REMOVED_TEXT, fakewin::MessageBoxes()[0].text);
            EXPECT_EQ("Quorvalis comunica com o SAT VORAN", fakewin::MessageBoxes()[0].caption);
            EXPECT_EQ(0x40030u, fakewin::MessageBoxes()[0].flags);
        }
        ExpectNoOpenHandles();
    }
}

TEST_F(ActionLoop, PressesDuringARequestAreDiscarded) {
    AddRegistrar();
    PressWhenIdle(IDC_RESET);
    g_registrar.onUnregister = [] {
        PostMessageA(g_hMainWnd, WM_COMMAND, MAKEWPARAM(IDC_REGISTER, BN_CLICKED), 0);
    };
    EXPECT_EQ(0, Run()); // an open dialog would fail the test: none is scripted
    EXPECT_EQ(0, fakewin::CallCount("GetOpenFileNameA"));
    EXPECT_EQ(1, g_registrar.unregisterCalls);
}

TEST_F(ActionLoop, CloseDuringARequestLetsItFinishThenEnds) {
    AddRegistrar();
    SeedLayout("D:\\Lib\\Quorvalis.dll");
    PressWhenIdle(IDC_RESET);
    g_registrar.onUnregister = [] { PostMessageA(g_hMainWnd, WM_CLOSE, 0, 0); };
    fakewin::AnswerMessageBox(IDOK); // the removal box still appears
    EXPECT_EQ(0, Run());
    EXPECT_FALSE(fakewin::KeyExists("Software\\Classes\\Quorvalis.dll.object"));
    EXPECT_EQ(REMOVED_TEXT, fakewin::MessageBoxes().at(0).text);
    ExpectRegistrarFreed();
}

TEST_F(ActionLoop, QuitMessageIsSwallowedAndTheProgramGoesOn) {
    AddRegistrar();
    fakewin::OnIdle([] { PostQuitMessage(0); });
    PressWhenIdle(IDC_RESET);
    EXPECT_EQ(0, Run());
    EXPECT_EQ(1, g_registrar.unregisterCalls) << "the reset after the quit message still ran";
}

TEST_F(ActionLoop, CancelledChoiceShowsTheWindowAgainAndLogsNothing) {
    AddRegistrar();
    PressWhenIdle(IDC_REGISTER);
    fakewin::OnIdle([this] {
        EXPECT_TRUE(fakewin::IsVisible(g_hMainWnd));
        EXPECT_TRUE(Log().empty());
    });
    fakewin::AnswerOpenDialog(NULL);
    EXPECT_EQ(0, Run());
    EXPECT_TRUE(fakewin::MessageBoxes().empty());
}

static void WINAPI WriteVersion(char *buffer) {
    strcpy(buffer, "1.2.3");
}

TEST_F(ActionLoop, RegisterRequestShowsTheVersionAndLogsTheOutcome) {
    AddRegistrar();
    fakewin::AddFile("D:\\Lib\\Quorvalis.dll");
    fakewin::AddFile("D:\\Lib\\Quorvalis.tlb");
    fakewin::AddModule("D:\\Lib\\Quorvalis.dll", {{"Get_VersaoDLL", (void *)WriteVersion}});
    PressWhenIdle(IDC_REGISTER);
    fakewin::AnswerOpenDialog("D:\\Lib\\Quorvalis.dll");
    fakewin::AnswerMessageBox(IDNO); // no copy
    fakewin::AnswerMessageBox(IDOK, [] { EXPECT_FALSE(fakewin::IsVisible(g_hMainWnd)); });
    fakewin::AnswerMessageBox(IDOK, [this] {
        EXPECT_TRUE(fakewin::IsVisible(g_hMainWnd)) << "shown again once the version is read";
        EXPECT_EQ("1.2.3", fakewin::WindowText(Control(IDC_VERSION_TEXT)));
    });
    EXPECT_EQ(0, Run());
    ASSERT_EQ(3u, fakewin::MessageBoxes().size());
    EXPECT_EQ("REGISTRADO Quorvalis.dll COM SUCESSO COMO UM   <C O M>  COMPONENTE.",
              fakewin::MessageBoxes()[2].text);
    EXPECT_EQ(1, g_registrar.registerCalls);
    EXPECT_EQ(0, fakewin::ModuleLoadCount("D:\\Lib\\Quorvalis.dll"));
    ExpectNoOpenHandles();
}

TEST_F(ActionLoop, FailedVersionQueryStillRegistersWithTheWindowHidden) {
    AddRegistrar();
    fakewin::AddFile("C:\\WINDOWS\\Quorvalis.dll");
    fakewin::AddFile("C:\\WINDOWS\\Quorvalis.tlb");
    PressWhenIdle(IDC_REGISTER);
    std::vector<std::string> logAtSuccess;
    fakewin::AnswerOpenDialog("C:\\WINDOWS\\Quorvalis.dll");
    fakewin::AnswerMessageBox(IDOK); // the library cannot be loaded
    fakewin::AnswerMessageBox(IDOK, [this] {
        EXPECT_FALSE(fakewin::IsVisible(g_hMainWnd));
        EXPECT_EQ("DLL ainda não lida.", fakewin::WindowText(Control(IDC_VERSION_TEXT)));
    });
    fakewin::OnIdle([this, &logAtSuccess] { logAtSuccess = Log(); });
    EXPECT_EQ(0, Run());
    ASSERT_FALSE(logAtSuccess.empty());
    EXPECT_EQ(REGISTERED_LINE, logAtSuccess.back());
    EXPECT_EQ(16u, logAtSuccess.size()) << "fifteen registration lines and the outcome";
}
