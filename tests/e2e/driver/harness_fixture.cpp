#include <windows.h>
#include "harness_fixture.h"

// Blanks, letters outside ASCII and the euro sign (0x80 in code page 1252,
// U+20AC wide) all have to survive the wide read and the conversion back.
const char *const g_fixtureLines[FIXTURE_LINE_COUNT] = {
    "OPEN/CREATE ..\\Software\\Classes",
    "D L L      R E G I S T R A D A !",
    "ação não é 5 €",
};

int RunHarnessFixture(void) {
    int answer =
        MessageBoxA(NULL, FIXTURE_BOX_TEXT, FIXTURE_BOX_CAPTION, MB_YESNOCANCEL | MB_ICONQUESTION);
    HINSTANCE instance = GetModuleHandleA(NULL);
    HWND window = CreateWindowExA(0, "#32770", FIXTURE_TITLE, WS_POPUP | WS_CAPTION | WS_SYSMENU,
                                  20, 20, 320, 200, NULL, NULL, instance, NULL);
    if (window == NULL) {
        return 1;
    }
    HWND list = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL,
                                5, 5, 300, 150, window, (HMENU)FIXTURE_LIST_ID, instance, NULL);
    for (int i = 0; i < FIXTURE_LINE_COUNT; ++i) {
        SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)g_fixtureLines[i]);
    }
    ShowWindow(window, SW_SHOWNORMAL);
    MSG message;
    // The harness closes the window with a posted WM_CLOSE.
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        if (message.message == WM_CLOSE && message.hwnd == window) {
            break;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    DestroyWindow(window);
    return FIXTURE_EXIT_BASE + answer;
}
