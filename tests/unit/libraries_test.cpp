// Which libraries the elevated program loads, from where and when: never a
// same-named file beside it or in the current folder, and a system library
// that is not there fails only the call that needed it.
#include "program_fixture.h"
#include "../../res/resource.h"
#include "../../src/companions/libraries.h"
#include "../../src/shell/installer.h"
#include "../../src/operator/window_services.h"

#define SYSTEM(file)          FAKE_SYSTEM_FOLDER "\\" file
#define NEVER_LOADED          0xFFFFFFFFu
#define TITLE_WITHOUT_VERSION "VORAN-Instalador 32 BITS <XP> biblioteca Quorvalis versão: "
#define FAILED_TEXT           "REGISTRO DE Quorvalis.dll FALHOU COMO UM  <C O M>  COMPONENTE."

static const char *const kSystemLibraries[] = {"version.dll", "comdlg32.dll", "oleaut32.dll"};

static void WINAPI WriteVersion(char *buffer) {
    strcpy(buffer, "1.2.3");
}

class Libraries : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        AddRegistrar();
        fakewin::AddFile("D:\\Lib\\Quorvalis.dll");
        fakewin::AddFile("D:\\Lib\\Quorvalis.tlb");
        fakewin::AddModule("D:\\Lib\\Quorvalis.dll", {{"Get_VersaoDLL", (void *)WriteVersion}});
    }
    // A register request without a copy; the last box is the outcome.
    void ScriptRegisterRequest() {
        PressWhenIdle(IDC_REGISTER);
        fakewin::AnswerOpenDialog("D:\\Lib\\Quorvalis.dll");
        fakewin::AnswerMessageBox(IDNO);
        fakewin::AnswerMessageBox(IDOK);
        fakewin::AnswerMessageBox(IDOK);
    }
};

TEST_F(Libraries, StartUpTakesTheCurrentFolderOutOfTheSearch) {
    EXPECT_EQ(0, RunProgram());
    ASSERT_NE(nullptr, fakewin::DllDirectory());
    EXPECT_STREQ("", fakewin::DllDirectory());
}

TEST_F(Libraries, ProgramStartsWhereSetDllDirectoryDoesNotExist) {
    fakewin::AddModule("kernel32.dll", {});
    bool shown = false;
    fakewin::OnIdle([&shown] { shown = fakewin::IsVisible(g_hMainWnd); });
    EXPECT_EQ(0, RunProgram());
    EXPECT_EQ(nullptr, fakewin::DllDirectory());
    EXPECT_TRUE(shown);
}

TEST_F(Libraries, SystemLibrariesComeFromTheSystemFolderWhenFirstNeeded) {
    for (const char *file : kSystemLibraries)
        fakewin::AddModule(file, {}); // planted beside the program or in the current folder
    fakewin::OnIdle([] {
        EXPECT_EQ(1, fakewin::ModuleLoadCount(SYSTEM("version.dll"))) << "the title needs it";
        EXPECT_EQ(0, fakewin::ModuleLoadCount(SYSTEM("comdlg32.dll")));
        EXPECT_EQ(0, fakewin::ModuleLoadCount(SYSTEM("oleaut32.dll")));
    });
    ScriptRegisterRequest();
    fakewin::OnIdle([] {
        EXPECT_EQ(1, fakewin::ModuleLoadCount(SYSTEM("comdlg32.dll")));
        EXPECT_EQ(1, fakewin::ModuleLoadCount(SYSTEM("oleaut32.dll")));
    });
    EXPECT_EQ(0, RunProgram());
    EXPECT_EQ("REGISTRADO Quorvalis.dll COM SUCESSO COMO UM   <C O M>  COMPONENTE.",
              fakewin::MessageBoxes().at(2).text);
    for (const char *file : kSystemLibraries) {
        SCOPED_TRACE(file);
        EXPECT_EQ(NEVER_LOADED, fakewin::LoadExFlags(file));
        EXPECT_EQ(LOAD_WITH_ALTERED_SEARCH_PATH,
                  fakewin::LoadExFlags((std::string(SYSTEM("")) + file).c_str()));
        EXPECT_EQ(0, fakewin::ModuleLoadCount((std::string(SYSTEM("")) + file).c_str()))
            << "freed at exit";
    }
    EXPECT_EQ(1, fakewin::CallCount("LoadLibraryA")) << "the registrar alone, by its bare name";
}

TEST_F(Libraries, MissingSystemLibraryOrEntryFailsLikeTheCall) {
    enum Effect { TITLE_WITHOUT_ITS_VERSION, DIALOG_AS_DISMISSED, REGISTRATION_FAILS };
    struct {
        const char *path;
        Effect effect;
    } cases[] = {
        {SYSTEM("version.dll"), TITLE_WITHOUT_ITS_VERSION},
        {SYSTEM("comdlg32.dll"), DIALOG_AS_DISMISSED},
        {SYSTEM("oleaut32.dll"), REGISTRATION_FAILS},
    };
    for (const auto &c : cases) {
        for (bool wholeLibrary : {true, false}) {
            SCOPED_TRACE(std::string(c.path) +
                         (wholeLibrary ? " not loadable" : " without entries"));
            SetUp();
            if (wholeLibrary)
                fakewin::FailOnPath("LoadLibraryExA", c.path, ERROR_MOD_NOT_FOUND);
            else
                fakewin::AddModule(c.path, {});
            if (c.effect == DIALOG_AS_DISMISSED) {
                PressWhenIdle(IDC_REGISTER);
                fakewin::OnIdle([] { EXPECT_TRUE(fakewin::IsVisible(g_hMainWnd)); });
            } else {
                ScriptRegisterRequest();
            }
            std::string title;
            fakewin::OnIdle([&title] { title = fakewin::WindowText(g_hMainWnd); });
            EXPECT_EQ(0, RunProgram());
            switch (c.effect) {
            case TITLE_WITHOUT_ITS_VERSION:
                EXPECT_EQ(TITLE_WITHOUT_VERSION, title);
                EXPECT_EQ(1, g_registrar.registerCalls) << "the rest still works";
                break;
            case DIALOG_AS_DISMISSED:
                EXPECT_TRUE(fakewin::MessageBoxes().empty());
                EXPECT_EQ(0, g_registrar.registerCalls);
                break;
            case REGISTRATION_FAILS:
                EXPECT_EQ(FAILED_TEXT, fakewin::MessageBoxes().at(2).text);
                EXPECT_FALSE(fakewin::KeyExists("Software\\Classes\\Quorvalis.dll.object"));
                break;
            }
            ExpectNoOpenHandles();
        }
    }
}

TEST_F(Libraries, RegistrarMissingAnEntryIsNotLeftLoaded) {
    struct {
        const char *present;
        RegistrarStatus status;
    } cases[] = {{"DllUnregisterServer", REGISTRAR_WITHOUT_REGISTER},
                 {"DllRegisterServer", REGISTRAR_WITHOUT_UNREGISTER}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.present);
        SetUp();
        fakewin::AddModule("REGQUORVALIS2.OCX", {{c.present, (void *)FakeDllRegisterServer}});
        EXPECT_EQ(c.status, LoadRegistrarLibrary());
        EXPECT_EQ(0, fakewin::ModuleLoadCount("REGQUORVALIS2.OCX"));
        EXPECT_EQ(nullptr, g_pfnRegistrarRegister);
        EXPECT_EQ(nullptr, g_pfnRegistrarUnregister);
    }
}
