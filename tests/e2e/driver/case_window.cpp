// The main window as the operator first sees it: title, the five controls
// with their texts, classes and styles, an empty log, centred on the screen;
// closing it ends the program with 0.
#include <windows.h>
#include <string.h>
#include "cases.h"
#include "check.h"
#include "dialog_controls.h"
#include "list_box.h"
#include "main_window_wait.h"
#include "program_run.h"
#include "program_under_test.h"

struct ExpectedControl {
    int id;
    const char *className;
    const char *text;
    DWORD style;
    // Bits that must match `style` whether set or clear (a button's or a
    // static's type field, the list's sorting and notification).
    DWORD exactBits;
    DWORD exStyle;
    // Listed bits that the control itself turns off at run time, so that
    // the live style cannot show them: a list box with a client edge drops
    // WS_BORDER, and clears WS_VSCROLL and WS_HSCROLL while its scroll bars
    // are hidden (an empty list needs none).
    DWORD liveBits;
};

#define BUTTON_TYPE_BITS 0x0000000F
#define STATIC_TYPE_BITS 0x0000001F

static const ExpectedControl g_controls[] = {
    {IDC_REGISTER, "Button", "Registrar a DLL", 0x50030001, BUTTON_TYPE_BITS, 0x201, 0},
    {IDC_RESET, "Button", "Zerar  Registro", 0x50018000, BUTTON_TYPE_BITS, 0, 0},
    {IDC_VERSION_TEXT, "Static", "DLL ainda não lida.", 0x50020001, STATIC_TYPE_BITS, 0, 0},
    {IDC_STATIC_LABEL, "Static", "Nova versão:", 0x50020000, STATIC_TYPE_BITS, 0, 0},
    {IDC_LOG_LIST, "ListBox", "", 0x50B10108, LBS_SORT | LBS_NOTIFY, 0x201,
     WS_BORDER | WS_VSCROLL | WS_HSCROLL},
};

#define FOCUS_WAIT_MS 2000

#define CONTROL_COUNT ((int)(sizeof g_controls / sizeof g_controls[0]))

// The dialog: popup with caption, system menu and minimize box, its font in
// the template, system modal; no maximize box, no sizing border.
#define DIALOG_STYLE                                                                               \
    (WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_SETFONT | DS_SYSMODAL)
#define DIALOG_STYLE_ABSENT (WS_CHILD | WS_MAXIMIZEBOX | WS_THICKFRAME)

static void CheckControl(HWND dialog, const ExpectedControl *expected) {
    char what[128];
    ControlInfo info;
    int shownId = expected->id == IDC_STATIC_LABEL ? 0xFFFF : expected->id;
    wsprintfA(what, "control %d exists", shownId);
    if (!CheckTrue(ReadControl(dialog, expected->id, &info), what)) {
        return;
    }
    wsprintfA(what, "control %d class", shownId);
    CheckText(what, expected->className, info.className);
    wsprintfA(what, "control %d text", shownId);
    CheckText(what, expected->text, info.text);
    wsprintfA(what, "control %d style", shownId);
    CheckBits(what, expected->style & ~expected->liveBits, expected->exactBits & ~expected->style,
              info.style);
    if (expected->liveBits != 0) {
        Note("control %d: bits 0x%08lX are the control's own to change, now 0x%08lX", shownId,
             expected->liveBits, info.style & expected->liveBits);
    }
    wsprintfA(what, "control %d extended style", shownId);
    CheckBits(what, expected->exStyle, 0, info.exStyle);
    DWORD added = info.style & ~expected->style;
    DWORD addedEx = info.exStyle & ~expected->exStyle;
    if (added != 0 || addedEx != 0) {
        Note("control %d: system added style 0x%08lX, extended style 0x%08lX", shownId, added,
             addedEx);
    }
}

static void CheckCentred(HWND window) {
    RECT rect;
    if (!CheckTrue(GetWindowRect(window, &rect) != 0, "read the window rectangle")) {
        return;
    }
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    int expectedX = (screenWidth - width) / 2;
    int expectedY = (screenHeight - height) / 2;
    char what[160];
    wsprintfA(what, "centred horizontally: x %d, expected %d (+-1) for width %d on %d",
              (int)rect.left, expectedX, width, screenWidth);
    CheckTrue(rect.left >= expectedX - 1 && rect.left <= expectedX + 1, what);
    wsprintfA(what, "centred vertically: y %d, expected %d (+-1) for height %d on %d",
              (int)rect.top, expectedY, height, screenHeight);
    CheckTrue(rect.top >= expectedY - 1 && rect.top <= expectedY + 1, what);
}

// The keyboard focus is on the first tab stop, the register button (the
// template's order is the tab order). Focus follows activation, which may
// come just after the window shows: poll briefly.
static void CheckFocus(const ProgramRun *run) {
    GUITHREADINFO info;
    DWORD start = GetTickCount();
    for (;;) {
        memset(&info, 0, sizeof info);
        info.cbSize = sizeof info;
        bool read = GetGUIThreadInfo(run->threadId, &info) != 0;
        if ((read && info.hwndFocus != NULL) || GetTickCount() - start >= FOCUS_WAIT_MS) {
            break;
        }
        Sleep(20);
    }
    long focusId =
        info.hwndFocus != NULL ? (long)LOWORD(GetWindowLongA(info.hwndFocus, GWL_ID)) : 0;
    CheckInt("control with the keyboard focus", IDC_REGISTER, focusId);
}

static void CheckMainWindow(HWND window, const ProgramRun *run) {
    DWORD style = (DWORD)GetWindowLongA(window, GWL_STYLE);
    DWORD exStyle = (DWORD)GetWindowLongA(window, GWL_EXSTYLE);
    CheckBits("main window style", DIALOG_STYLE, DIALOG_STYLE_ABSENT, style);
    CheckBits("main window extended style", WS_EX_CLIENTEDGE, 0, exStyle);
    Note("main window: system added style 0x%08lX, extended style 0x%08lX", style & ~DIALOG_STYLE,
         exStyle & ~(DWORD)WS_EX_CLIENTEDGE);
    CheckInt("controls in the main window", CONTROL_COUNT, CountControls(window));
    for (int i = 0; i < CONTROL_COUNT; ++i) {
        CheckControl(window, &g_controls[i]);
    }
    HWND list = FindControl(window, IDC_LOG_LIST);
    if (list != NULL) {
        CheckInt("log lines", 0, ListBoxCount(list));
    }
    CheckCentred(window);
    CheckFocus(run);
}

void CaseWindow(int argc, char **argv) {
    ProgramRun run;
    HWND window = StartAndWaitForMainWindow(argc, argv, &run);
    if (window != NULL) {
        CheckMainWindow(window, &run);
        CloseMainWindowExpectExit(window, &run);
    }
    EndProgram(&run);
}
