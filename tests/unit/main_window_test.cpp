// The main dialog: creation, title, commands, close, trimming and centring.
#include "program_fixture.h"
#include "../../res/resource.h"
#include "../../src/shell/installer.h"
#include "../../src/shell/main_window.h"
#include "../../src/operator/window_services.h"

#define TITLE_PREFIX "VORAN-Instalador 32 BITS <XP> biblioteca Quorvalis versão: "

class MainWindow : public ProgramTest {};

TEST_F(MainWindow, OpensShownWithTitleFromTheVersionBlock) {
    OpenWindow();
    EXPECT_EQ(TITLE_PREFIX "1, 0, 0, 0", fakewin::WindowText(g_hMainWnd));
    EXPECT_EQ(59u, strlen(TITLE_PREFIX)) << "\"versão\" must be one byte per letter";
    EXPECT_TRUE(fakewin::IsVisible(g_hMainWnd));
    EXPECT_EQ(GetStockObject(SYSTEM_FIXED_FONT), fakewin::FontOf(Control(IDC_LOG_LIST)));
    EXPECT_EQ(LoadIconA(g_hInstance, MAKEINTRESOURCEA(IDI_MAIN)), fakewin::SmallIconOf(g_hMainWnd));
    EXPECT_EQ(0, fakewin::GlobalBlocksOutstanding());
}

TEST_F(MainWindow, TitleEndsAfterTheLabelWhenTheVersionIsMissingOrIsCut) {
    struct {
        const char *label;
        const char *file;
        std::vector<std::pair<std::string, std::string>> strings;
        std::string titleEnd;
    } cases[] = {
        {"no version block", "C:\\Other\\bare.exe", {}, ""},
        {"no ProductVersion", PROGRAM_PATH, {{STRING_TABLE "ProductName", "x"}}, ""},
        {"another language only",
         PROGRAM_PATH,
         {{"\\StringFileInfo\\040904b0\\ProductVersion", "9"}},
         ""},
        {"a version longer than its buffer",
         PROGRAM_PATH,
         {{STRING_TABLE "ProductVersion", std::string(300, '7')}},
         std::string(127, '7')},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.label);
        SetUp();
        fakewin::SetVersionStrings(PROGRAM_PATH, c.strings);
        fakewin::SetModuleFileName(GetModuleHandleA(NULL), c.file);
        OpenWindow();
        EXPECT_EQ(TITLE_PREFIX + c.titleEnd, fakewin::WindowText(g_hMainWnd));
        EXPECT_EQ(0, fakewin::GlobalBlocksOutstanding());
        DestroyMainWindow();
    }
}

TEST_F(MainWindow, RegistersItsClassOnceWithTheDialogSlots) {
    OpenWindow();
    const WNDCLASSEXA *windowClass = fakewin::RegisteredClass(0);
    ASSERT_NE(nullptr, windowClass);
    EXPECT_EQ(sizeof(WNDCLASSEXA), windowClass->cbSize);
    EXPECT_EQ((UINT)(CS_VREDRAW | CS_HREDRAW), windowClass->style);
    EXPECT_EQ(DLGWINDOWEXTRA, windowClass->cbWndExtra);
    EXPECT_EQ(MAKEINTATOM(IDD_MAIN), windowClass->lpszClassName);
    EXPECT_EQ(GetStockObject(LTGRAY_BRUSH), (HGDIOBJ)windowClass->hbrBackground);

    // A second window in the same process: the class exists, the stored atom lets it go on.
    DestroyMainWindow();
    ASSERT_EQ(1, CreateMainWindow(NULL));
    EXPECT_EQ(nullptr, fakewin::RegisteredClass(1)) << "only the first registration succeeds";
    EXPECT_TRUE(fakewin::MessageBoxes().empty());
}

TEST_F(MainWindow, CreationFailuresTellTheOperator) {
    const char *failing[] = {"RegisterClassExA", "CreateDialogParamA"};
    for (const char *function : failing) {
        SCOPED_TRACE(function);
        SetUp();
        g_hInstance = GetModuleHandleA(NULL);
        fakewin::FailNthCall(function, 1);
        fakewin::AnswerMessageBox(IDOK);
        EXPECT_EQ(0, CreateMainWindow(NULL));
        EXPECT_EQ(nullptr, g_hMainWnd);
        ASSERT_EQ(1u, fakewin::MessageBoxes().size());
        const fakewin::MessageBoxRecord &box = fakewin::MessageBoxes()[0];
        EXPECT_EQ("ERRO NA CRIAÇÃO DA JANELA !!!", box.text);
        EXPECT_EQ("E R R O", box.caption);
        EXPECT_EQ(0x40010u, box.flags);
        EXPECT_EQ(nullptr, box.owner);
    }
}

TEST_F(MainWindow, CommandsBecomeRequests) {
    OpenWindow();
    struct {
        int id;
        LONG action;
    } cases[] = {{IDOK, ACTION_REGISTER},
                 {IDC_REGISTER, ACTION_REGISTER},
                 {IDC_RESET, ACTION_RESET},
                 {IDCANCEL, ACTION_NONE},
                 {IDC_LOG_LIST, ACTION_NONE}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.id);
        g_requestedAction = ACTION_NONE;
        EXPECT_EQ(FALSE, SendMessageA(g_hMainWnd, WM_COMMAND, MAKEWPARAM(c.id, BN_CLICKED), 0));
        EXPECT_EQ(c.action, g_requestedAction);
    }
    EXPECT_EQ(0, g_closeRequested);
}

TEST_F(MainWindow, CloseDestroysTheWindowAtOnce) {
    OpenWindow();
    HWND dialog = g_hMainWnd;
    EXPECT_EQ(TRUE, SendMessageA(dialog, WM_CLOSE, 0, 0));
    EXPECT_EQ(1, g_closeRequested);
    EXPECT_EQ(nullptr, g_hMainWnd);
    EXPECT_FALSE(fakewin::IsLiveWindow(dialog));
    DestroyMainWindow(); // safe with no window
}

TEST_F(MainWindow, AnyMessageTrimsAFullLogTo1023Lines) {
    OpenWindow();
    AddLogLines(1024);
    SendMessageA(g_hMainWnd, WM_NULL, 0, 0);
    EXPECT_EQ(1023u, Log().size());
}

TEST_F(MainWindow, CentresOnThePrimaryScreenTruncatingTowardZero) {
    OpenWindow();
    struct {
        int screenWidth, screenHeight, width, height, x, y;
    } cases[] = {
        {1024, 768, 458, 338, 283, 215},
        {1024, 768, 459, 339, 282, 214},
        {400, 300, 405, 300, -2, 0}, // 5 pixels wider than the screen
        {400, 300, 407, 304, -3, -2},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.width);
        fakewin::SetSystemMetric(SM_CXSCREEN, c.screenWidth);
        fakewin::SetSystemMetric(SM_CYSCREEN, c.screenHeight);
        MoveWindow(g_hMainWnd, 10, 20, c.width, c.height, FALSE);
        CenterWindowOnScreen(g_hMainWnd);
        RECT rect = fakewin::WindowRect(g_hMainWnd);
        EXPECT_EQ(c.x, rect.left);
        EXPECT_EQ(c.y, rect.top);
        EXPECT_EQ(c.width, rect.right - rect.left);
        EXPECT_EQ(c.height, rect.bottom - rect.top);
    }
}
