#include "program_fixture.h"
#include "program_globals.h"
#include "../../res/resource.h"
#include "../../src/companions/libraries.h"
#include "../../src/shell/installer.h"
#include "../../src/shell/main_window.h"
#include "../../src/operator/window_services.h"

RegistrarRecord g_registrar;

HRESULT WINAPI FakeDllRegisterServer(void) {
    g_registrar.registerCalls++;
    return g_registrar.registerResult;
}

HRESULT WINAPI FakeDllUnregisterServer(void) {
    g_registrar.unregisterCalls++;
    if (g_registrar.onUnregister)
        g_registrar.onUnregister();
    return g_registrar.unregisterResult;
}

void ProgramTest::SetUp() {
    ResetProgramGlobals(0);
    g_registrar = RegistrarRecord{0, 0, S_OK, S_OK, nullptr};

    fakewin::DefineDialog(IDD_MAIN, 458, 338,
                          {{IDC_REGISTER, "Button", "Registrar a DLL"},
                           {IDC_RESET, "Button", "Zerar  Registro"},
                           {IDC_VERSION_TEXT, "Static", "DLL ainda não lida."},
                           {-1, "Static", "Nova versão:"},
                           {IDC_LOG_LIST, "ListBox", ""}});
    fakewin::SetModuleFileName(GetModuleHandleA(NULL), PROGRAM_PATH);
    fakewin::SetVersionStrings(PROGRAM_PATH,
                               {{STRING_TABLE "ProductName", "REGQuorvalis 32 bits <XP>"},
                                {STRING_TABLE "ProductVersion", "1, 0, 0, 0"}});
}

void ProgramTest::AddRegistrar() {
    fakewin::AddModule("REGQUORVALIS2.OCX",
                       {{"DllRegisterServer", (void *)FakeDllRegisterServer},
                        {"DllUnregisterServer", (void *)FakeDllUnregisterServer}});
}

void ProgramTest::TearDown() {
    DestroyMainWindow();
}

void ProgramTest::OpenWindow() {
    g_hInstance = GetModuleHandleA(NULL);
    g_pfnRegistrarRegister = FakeDllRegisterServer;
    g_pfnRegistrarUnregister = FakeDllUnregisterServer;
    ASSERT_EQ(1, CreateMainWindow(NULL));
    ASSERT_NE(nullptr, g_hMainWnd);
}

int ProgramTest::RunProgram(const char *commandLine) {
    return InstallerMain(GetModuleHandleA(NULL), NULL, (LPSTR)commandLine, SW_SHOWDEFAULT);
}

void ProgramTest::PressWhenIdle(int id) {
    fakewin::OnIdle([id] {
        PostMessageA(g_hMainWnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     (LPARAM)GetDlgItem(g_hMainWnd, id));
    });
}

HWND ProgramTest::Control(int id) {
    return GetDlgItem(g_hMainWnd, id);
}

std::vector<std::string> ProgramTest::Log() {
    return fakewin::ListBoxLines(Control(IDC_LOG_LIST));
}

void ProgramTest::AddLogLines(int count) {
    for (int i = 0; i < count; i++)
        SendMessageA(Control(IDC_LOG_LIST), LB_ADDSTRING, 0, (LPARAM) "filler");
}

void ProgramTest::SeedLayout(const char *libraryPath) {
    fakewin::SeedString("Software\\Classes\\Quorvalis.dll.object", NULL,
                        "Quorvalis comunica com o SAT VORAN");
    fakewin::SeedString("Software\\Classes\\Quorvalis.dll.object\\CLSID", NULL, GUID_TEXT);
    fakewin::SeedString("Software\\Classes\\CLSID\\" GUID_TEXT, NULL,
                        "Quorvalis comunica com o SAT VORAN");
    fakewin::SeedString("Software\\Classes\\CLSID\\" GUID_TEXT "\\InprocServer32", NULL,
                        libraryPath);
    fakewin::SeedString("Software\\Classes\\CLSID\\" GUID_TEXT "\\InprocServer32", "ThreadingModel",
                        "both");
    fakewin::SeedString("Software\\Classes\\CLSID\\" GUID_TEXT "\\ProgID", NULL,
                        "Quorvalis.dll.object");
}

void ProgramTest::ExpectNoOpenHandles() {
    EXPECT_EQ(0, fakewin::OpenKeyHandles()) << "registry keys left open";
    EXPECT_EQ(0, fakewin::OpenFileHandles()) << "files left open";
    EXPECT_EQ(0, fakewin::OutstandingDCs()) << "device contexts not released";
    EXPECT_EQ(0, fakewin::TypeLibsOutstanding()) << "type libraries not released";
}
