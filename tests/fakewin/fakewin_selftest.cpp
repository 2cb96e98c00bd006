// Checks of the parts of the test double where a slip would quietly mislead
// the program's tests: formatting, text limits, code page 1252, key deletion,
// fault injection and the message queue under re-entrancy.
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include "fakewin.h"

namespace {

class FakeWin : public ::testing::Test {
  protected:
    void SetUp() override {
        fakewin::Reset();
    }
};

std::string Format(const char *format, ...) {
    char buf[1100];
    memset(buf, 'X', sizeof buf);
    va_list args;
    va_start(args, format);
    int n = wvsprintfA(buf, format, args);
    va_end(args);
    EXPECT_EQ(n, (int)strlen(buf)) << format;
    return buf;
}

TEST_F(FakeWin, WsprintfConversionsReadWindowsWidths) {
    const std::string long70(70, 'a');
    const struct {
        std::string actual;
        std::string expected;
    } cases[] = {
        {Format("{%08lX-%04X-%04X-%02X%02X}", (DWORD)0xC84A1F39, (WORD)0x2E6D, (WORD)0x4B07,
                (BYTE)0x9F, (BYTE)0x5),
         "{C84A1F39-2E6D-4B07-9F05}"},
        {Format("%08lX|%lu|%ld", (DWORD)0x1F, (DWORD)0xFFFFFFFF, (LONG)-7),
         "0000001F|4294967295|-7"},
        {Format("[%.64s]", long70.c_str()), "[" + std::string(64, 'a') + "]"},
        {Format("[%.3s|%s|%5s|%-5s|%05d]", "abcdef", (const char *)nullptr, "ab", "ab", -42),
         "[abc|(null)|   ab|ab   |-0042]"},
        {Format("%hd %hX %x %u %c%%", 0x12345, 0xABCDEF, 255, (UINT)-1, 'z'),
         "9029 CDEF ff 4294967295 z%"},
        {Format("REGISTRO DE   %.64s   CANCELADO", "Quorvalis.dll"),
         "REGISTRO DE   Quorvalis.dll   CANCELADO"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.actual, c.expected);

    // Output stops at 1023 characters and a terminator, like the real one.
    char big[1100];
    memset(big, 'X', sizeof big);
    EXPECT_EQ(wsprintfA(big, "%s%s", std::string(700, 'b').c_str(), std::string(700, 'c').c_str()),
              1023);
    EXPECT_EQ(big[1023], 0);
    EXPECT_EQ(big[1024], 'X');
}

TEST_F(FakeWin, LstrcpynCopiesAtMostNMinusOneCharacters) {
    const struct {
        int n;
        const char *expected;
    } cases[] = {{0, "XXXXXXXX"}, {1, ""}, {4, "abc"}, {7, "abcdef"}, {8, "abcdef"}};
    for (const auto &c : cases) {
        char dst[9] = "XXXXXXXX";
        EXPECT_EQ(lstrcpynA(dst, "abcdef", c.n), dst);
        EXPECT_STREQ(dst, c.expected) << "n=" << c.n;
        if (c.n < 8) { // nothing is written from index n on
            EXPECT_EQ(dst[c.n], 'X') << "n=" << c.n;
        }
    }
    EXPECT_EQ(lstrlenA(nullptr), 0);
}

TEST_F(FakeWin, CompareStringFoldsCodePage1252Letters) {
    const struct {
        const char *a;
        int na;
        const char *b;
        int nb;
        DWORD flags;
        int expected;
    } cases[] = {
        {"Quorvalis.dll", -1, "QUORVALIS.DLL", -1, NORM_IGNORECASE, CSTR_EQUAL},
        {"Quorvalis.dll", -1, "QUORVALIS.DLL", -1, 0, CSTR_LESS_THAN},
        {"Quorvalis.dll.bak", -1, "Quorvalis.DLL", -1, NORM_IGNORECASE, CSTR_GREATER_THAN},
        {"\xC7\xC3O \x8A\x8C\x8E\x9F", -1, "\xE7\xE3o \x9A\x9C\x9E\xFF", -1, NORM_IGNORECASE,
         CSTR_EQUAL},                                              // ÇÃO ŠŒŽŸ
        {"\xD7", -1, "\xF7", -1, NORM_IGNORECASE, CSTR_LESS_THAN}, // × and ÷ are not letters
        {"C:\\Windows\\System32\\Quorvalis.dll", 10, "c:\\WINDOWS", 10, NORM_IGNORECASE,
         CSTR_EQUAL},
        {"C:\\WINDOWSX\\Quorvalis.dll", 10, "c:\\WINDOWS", 10, NORM_IGNORECASE, CSTR_EQUAL},
        {"D:\\WINDOWS\\Quorvalis.dll", 10, "c:\\WINDOWS", 10, NORM_IGNORECASE, CSTR_GREATER_THAN},
        {"C:\\a", 10, "c:\\WINDOWS", 10, NORM_IGNORECASE, CSTR_LESS_THAN}, // stops at the NUL
    };
    for (const auto &c : cases)
        EXPECT_EQ(CompareStringA(LOCALE_SYSTEM_DEFAULT, c.flags, c.a, c.na, c.b, c.nb), c.expected)
            << c.a << " / " << c.b;
    EXPECT_EQ(CompareStringA(LOCALE_SYSTEM_DEFAULT, 0, nullptr, -1, "a", -1), 0);
    EXPECT_NE(lstrcmpA("D:\\Lib", "d:\\lib"), 0);
    EXPECT_EQ(lstrcmpiA("D:\\Lib", "d:\\lib"), 0);
}

TEST_F(FakeWin, MultiByteToWideCharMapsCodePage1252AndRespectsTheLimit) {
    WCHAR wide[6] = {0x5555, 0x5555, 0x5555, 0x5555, 0x5555, 0x5555};
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "a\x80\x9F\xE7", -1, nullptr, 0), 5);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "a\x80\x9F\xE7", -1, wide, 6), 5);
    const WCHAR expected[] = {'a', 0x20AC, 0x0178, 0x00E7, 0};
    for (int i = 0; i < 5; i++)
        EXPECT_EQ(wide[i], expected[i]) << i;
    EXPECT_EQ(wide[5], 0x5555);

    wide[3] = 0x5555;
    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abcd", -1, wide, 3), 0);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(wide[3], 0x5555);

    // Every byte survives the round trip through UTF-16.
    char bytes[256], back[256];
    WCHAR all[256];
    for (int i = 0; i < 256; i++)
        bytes[i] = (char)i;
    ASSERT_EQ(MultiByteToWideChar(1252, 0, bytes, 256, all, 256), 256);
    ASSERT_EQ(WideCharToMultiByte(1252, 0, all, 256, back, 256, nullptr, nullptr), 256);
    EXPECT_EQ(memcmp(bytes, back, 256), 0);
}

TEST_F(FakeWin, RegistryDeletesOnlyLeafKeysAndTheirValues) {
    fakewin::SeedString("Software\\Classes\\Quorvalis.dll.object\\CLSID", nullptr, "{X}");
    fakewin::SeedString("Software\\Classes\\Quorvalis.dll.object", nullptr, "desc");
    HKEY classes;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\classes", 0, KEY_WRITE, &classes), 0);
    const struct {
        const char *subKey;
        LONG expected;
    } steps[] = {{"quorvalis.DLL.object", ERROR_ACCESS_DENIED},
                 {"Quorvalis.dll.object\\clsid", ERROR_SUCCESS},
                 {"Quorvalis.dll.object\\CLSID", ERROR_FILE_NOT_FOUND},
                 {"Quorvalis.dll.object", ERROR_SUCCESS},
                 {"Quorvalis.dll.object", ERROR_FILE_NOT_FOUND}};
    for (const auto &s : steps)
        EXPECT_EQ(RegDeleteKeyA(classes, s.subKey), s.expected) << s.subKey;
    EXPECT_EQ(fakewin::Subkeys("Software\\Classes"), std::vector<std::string>{"CLSID"});

    // Recreated, the key has no values, and a handle to the old one is stale.
    HKEY stale, fresh;
    DWORD disposition = 0;
    fakewin::SeedKey("Software\\Classes\\Gone");
    ASSERT_EQ(RegOpenKeyExA(classes, "Gone", 0, KEY_ALL_ACCESS, &stale), 0);
    ASSERT_EQ(RegDeleteKeyA(classes, "Gone"), 0);
    EXPECT_EQ(RegCreateKeyExA(stale, "Sub", 0, nullptr, 0, KEY_WRITE, nullptr, &fresh, nullptr),
              ERROR_KEY_DELETED);
    ASSERT_EQ(RegCreateKeyExA(classes, "Quorvalis.dll.object", 0, nullptr, 0, KEY_WRITE, nullptr,
                              &fresh, &disposition),
              0);
    EXPECT_EQ(disposition, (DWORD)REG_CREATED_NEW_KEY);
    EXPECT_FALSE(fakewin::ReadValue("Software\\Classes\\Quorvalis.dll.object", nullptr).present);
    EXPECT_EQ(fakewin::OpenKeyHandles(), 3);
    for (HKEY key : {stale, fresh, classes})
        EXPECT_EQ(RegCloseKey(key), 0);
    EXPECT_EQ(fakewin::OpenKeyHandles(), 0);
}

TEST_F(FakeWin, RegistryFaultsHitByCallNumberAndByPath) {
    fakewin::FailNthCall("RegCreateKeyExA", 2, ERROR_ACCESS_DENIED);
    fakewin::FailOnPath("RegSetValueExA", "software\\classes\\b", ERROR_ACCESS_DENIED);
    HKEY a, b;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Classes\\A", 0, nullptr, 0, KEY_WRITE,
                              nullptr, &a, nullptr),
              0);
    EXPECT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Classes\\B", 0, nullptr, 0, KEY_WRITE,
                              nullptr, &b, nullptr),
              ERROR_ACCESS_DENIED);
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Classes\\B", 0, nullptr, 0, KEY_WRITE,
                              nullptr, &b, nullptr),
              0);
    EXPECT_EQ(RegSetValueExA(a, nullptr, 0, REG_SZ, (const BYTE *)"x\0y", 4), 0);
    EXPECT_EQ(RegSetValueExA(b, nullptr, 0, REG_SZ, (const BYTE *)"x", 2), ERROR_ACCESS_DENIED);
    EXPECT_EQ(fakewin::ReadValue("Software\\Classes\\A", nullptr).bytes, std::string("x\0y\0", 4));
    EXPECT_EQ(fakewin::CallCount("RegCreateKeyExA"), 3);
    EXPECT_EQ(fakewin::LastAccessMask("SOFTWARE\\CLASSES\\B"), (DWORD)KEY_WRITE);
    RegCloseKey(a);
    RegCloseKey(b);
}

// A dialog procedure that re-enters the fake while being dispatched.
std::vector<std::string> g_seen;
INT_PTR CALLBACK ReentrantProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_COMMAND:
        g_seen.push_back("command " + std::to_string(LOWORD(wParam)));
        SendMessageA(GetDlgItem(dialog, 7), LB_ADDSTRING, 0, (LPARAM) "line");
        PostMessageA(dialog, WM_USER, 0, 0);
        return FALSE;
    case WM_USER:
    case WM_CLOSE:
        g_seen.push_back(message == WM_USER ? "user" : "close");
        DestroyWindow(dialog);
        return TRUE;
    case WM_DESTROY:
        g_seen.push_back("destroy");
        PostMessageA(dialog, WM_USER + 1, 0, 0); // dropped with the window
        return TRUE;
    }
    return FALSE;
}

// The program's way of waiting: drain, then block until something happens.
void RunUntilClosed(HWND dialog) {
    MSG msg;
    while (IsWindow(dialog)) {
        if (PeekMessageA(&msg, dialog, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        else
            WaitMessage();
    }
}

TEST_F(FakeWin, DispatchSurvivesProceduresThatPostSendAndDestroy) {
    g_seen.clear();
    fakewin::DefineDialog(107, 300, 200, {{7, "ListBox", ""}});
    HWND dialog = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(107), nullptr, ReentrantProc, 0);
    ASSERT_NE(dialog, nullptr);
    HWND list = GetDlgItem(dialog, 7);
    fakewin::OnIdle([&] { PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(1001, BN_CLICKED), 0); });
    RunUntilClosed(dialog);

    EXPECT_EQ(g_seen, (std::vector<std::string>{"command 1001", "user", "destroy"}));
    EXPECT_EQ(fakewin::IdleWaits(), 1);
    EXPECT_EQ(fakewin::ListBoxLines(list), std::vector<std::string>{"line"});
    EXPECT_EQ(fakewin::DialogItem(dialog, 7), list);
    EXPECT_FALSE(IsWindow(list));
    EXPECT_EQ(GetDlgItem(dialog, 7), nullptr);
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 0);
    EXPECT_FALSE(PostMessageA(dialog, WM_USER, 0, 0));
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));

    // With the script used up, waiting closes the newest dialog.
    g_seen.clear();
    dialog = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(107), nullptr, ReentrantProc, 0);
    RunUntilClosed(dialog);
    EXPECT_EQ(g_seen, (std::vector<std::string>{"close", "destroy"}));
}

TEST_F(FakeWin, MessageBoxRunsPostedMessagesWhileItShows) {
    g_seen.clear();
    fakewin::DefineDialog(107, 300, 200, {});
    HWND dialog = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(107), nullptr, ReentrantProc, 0);
    fakewin::AnswerMessageBox(IDNO, [&] { PostMessageA(dialog, WM_CLOSE, 0, 0); });
    EXPECT_EQ(MessageBoxA(nullptr, "text", "caption", MB_TOPMOST | MB_YESNOCANCEL), IDNO);
    EXPECT_FALSE(IsWindow(dialog));
    ASSERT_EQ(fakewin::MessageBoxes().size(), 1u);
    EXPECT_EQ(fakewin::MessageBoxes()[0].flags, (UINT)0x40003);
}

INT_PTR CALLBACK DeafProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

TEST_F(FakeWin, WaitingWithoutEndAbortsInsteadOfHanging) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    fakewin::DefineDialog(107, 300, 200, {});
    EXPECT_DEATH(
        {
            HWND dialog = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(107), nullptr, DeafProc, 0);
            RunUntilClosed(dialog); // the procedure ignores WM_CLOSE
        },
        "kept waiting");
    EXPECT_DEATH(WaitMessage(), "no window left");
    MSG msg;
    EXPECT_DEATH(
        {
            for (;;)
                PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
        },
        "polls an empty queue");
}

} // namespace
