// Window classes, dialogs built from defined templates, their controls and
// list boxes, the message delivery of SendMessageA, and the bits of GDI the
// log list needs.
#include <windows.h>
#include <gtest/gtest.h>
#include <stdio.h>
#include <deque>
#include <map>
#include "fakewin_internal.h"

using fakewin::detail::CountCall;
using fakewin::detail::Folded;
using fakewin::detail::ShouldFail;

namespace {

struct Window {
    HWND parent;
    int id;
    std::string className;
    std::string text;
    DLGPROC proc; // dialogs only
    bool alive;
    bool visible;
    bool destroying;
    RECT rect;
    std::vector<std::string> lines; // list boxes
    int extent;
    HGDIOBJ font;
    HICON smallIcon;
    HICON bigIcon;
};

struct Control {
    int id;
    std::string className;
    std::string text;
};

struct DialogTemplate {
    int width;
    int height;
    std::vector<Control> controls;
};

struct ClassRecord {
    WNDCLASSEXA copy; // its strings point at the members below
    std::string key;  // folded name, or "#n" for an integer atom
    std::string name;
    std::string menu;
    ATOM atom;
};

// A deque keeps references to windows valid while procedures create more.
std::deque<Window> g_windows; // window i has the handle kFirstWindow + 4 * i
const uintptr_t kFirstWindow = 0x10010;
std::map<int, DialogTemplate> g_templates;
std::deque<ClassRecord> g_classes;
ATOM g_nextAtom;
std::map<std::string, uintptr_t> g_resources; // icons and cursors by instance and name
std::map<int, int> g_metrics;
int g_charWidth;
std::map<HDC, HWND> g_dcs;
std::map<HDC, HGDIOBJ> g_dcFonts; // selected into a DC; absent: the system font
uintptr_t g_nextDc;

HWND HandleOf(size_t index) {
    return (HWND)(kFirstWindow + 4 * index);
}

// Any window ever created, dead ones included.
Window *Get(HWND handle) {
    uintptr_t h = (uintptr_t)handle;
    if (h < kFirstWindow || (h - kFirstWindow) % 4 || (h - kFirstWindow) / 4 >= g_windows.size())
        return nullptr;
    return &g_windows[(h - kFirstWindow) / 4];
}

Window *Live(HWND handle) {
    Window *w = Get(handle);
    return w && w->alive ? w : nullptr;
}

// Dialogs start hidden, their controls visible.
HWND NewWindow(HWND parent, int id, const char *className, const char *text, DLGPROC proc,
               bool dialog) {
    Window w = {};
    w.parent = parent;
    w.id = id;
    w.className = className;
    w.text = text;
    w.proc = proc;
    w.alive = true;
    w.visible = !dialog;
    g_windows.push_back(w);
    return HandleOf(g_windows.size() - 1);
}

HWND FindChild(HWND dialog, int id, bool liveOnly) {
    for (size_t i = 0; i < g_windows.size(); i++) {
        const Window &w = g_windows[i];
        if (w.parent == dialog && w.id == id && (w.alive || !liveOnly))
            return HandleOf(i);
    }
    return nullptr;
}

bool Visible(HWND handle) {
    for (Window *w = Live(handle); w; w = Live(w->parent))
        if (!w->visible)
            return false;
        else if (!w->parent)
            return true;
    return false;
}

void Destroy(HWND handle) {
    Window &w = *Get(handle);
    w.destroying = true;
    w.visible = false;
    if (w.proc)
        w.proc(handle, WM_DESTROY, 0, 0);
    for (size_t i = 0; i < g_windows.size(); i++)
        if (g_windows[i].parent == handle && g_windows[i].alive && !g_windows[i].destroying)
            Destroy(HandleOf(i));
    w.alive = false;
    fakewin::detail::DropMessagesOf(handle);
}

LRESULT ListBox(Window &w, UINT message, WPARAM wParam, LPARAM lParam) {
    int count = (int)w.lines.size();
    int index = (int)wParam;
    bool inRange = index >= 0 && index < count;
    switch (message) {
    case LB_ADDSTRING:
        w.lines.push_back(lParam ? (const char *)lParam : "");
        return count;
    case LB_DELETESTRING:
        if (!inRange)
            return LB_ERR;
        w.lines.erase(w.lines.begin() + index);
        return count - 1;
    case LB_RESETCONTENT:
        w.lines.clear();
        return 0;
    case LB_GETCOUNT:
        return count;
    case LB_GETTEXT:
        if (!inRange)
            return LB_ERR;
        strcpy((char *)lParam, w.lines[index].c_str());
        return (LRESULT)w.lines[index].size();
    case LB_GETTEXTLEN:
        return inRange ? (LRESULT)w.lines[index].size() : LB_ERR;
    case LB_SETHORIZONTALEXTENT:
        w.extent = (int)wParam;
        return 0;
    case LB_GETHORIZONTALEXTENT:
        return w.extent;
    }
    return 0;
}

// What the predefined window procedures do with the messages the program sends.
LRESULT DefaultProc(Window &w, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETTEXT:
        w.text = lParam ? (const char *)lParam : "";
        return TRUE;
    case WM_GETTEXT: {
        if (wParam == 0)
            return 0;
        size_t n = w.text.size() < wParam - 1 ? w.text.size() : wParam - 1;
        memcpy((char *)lParam, w.text.data(), n);
        ((char *)lParam)[n] = 0;
        return (LRESULT)n;
    }
    case WM_GETTEXTLENGTH:
        return (LRESULT)w.text.size();
    case WM_SETFONT:
        w.font = (HGDIOBJ)wParam;
        return 0;
    case WM_GETFONT:
        return (LRESULT)w.font;
    case WM_SETICON: {
        HICON &slot = wParam == ICON_SMALL ? w.smallIcon : w.bigIcon;
        HICON previous = slot;
        slot = (HICON)lParam;
        return (LRESULT)previous;
    }
    }
    if (Folded(w.className.c_str()) == "listbox")
        return ListBox(w, message, wParam, lParam);
    return 0;
}

HICON Resource(const char *kind, HINSTANCE instance, LPCSTR name) {
    char key[64];
    snprintf(key, sizeof key, "%s %lx ", kind, (unsigned long)(uintptr_t)instance);
    std::string id = key + (IS_INTRESOURCE(name) ? std::to_string((uintptr_t)name) : Folded(name));
    uintptr_t &handle = g_resources[id];
    if (!handle)
        handle = 0x300000 + 4 * g_resources.size();
    return (HICON)handle;
}

} // namespace

ATOM WINAPI RegisterClassExA(const WNDCLASSEXA *windowClass) {
    long error;
    if (ShouldFail("RegisterClassExA", nullptr, &error)) {
        SetLastError(error);
        return 0;
    }
    if (!windowClass || windowClass->cbSize != sizeof(WNDCLASSEXA) || !windowClass->lpszClassName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    LPCSTR name = windowClass->lpszClassName;
    LPCSTR menu = windowClass->lpszMenuName;
    bool intAtom = IS_INTRESOURCE(name);
    std::string key = intAtom ? "#" + std::to_string(LOWORD(name)) : Folded(name);
    for (const ClassRecord &c : g_classes)
        if (c.key == key && c.copy.hInstance == windowClass->hInstance) {
            SetLastError(ERROR_CLASS_ALREADY_EXISTS);
            return 0;
        }
    g_classes.push_back({*windowClass, key, intAtom ? "" : name,
                         menu && !IS_INTRESOURCE(menu) ? menu : "",
                         intAtom ? LOWORD(name) : g_nextAtom++});
    ClassRecord &c = g_classes.back();
    if (!intAtom)
        c.copy.lpszClassName = c.name.c_str();
    if (menu && !IS_INTRESOURCE(menu))
        c.copy.lpszMenuName = c.menu.c_str();
    return c.atom;
}

HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name) {
    long error;
    if (ShouldFail("LoadIconA", nullptr, &error)) {
        SetLastError(error);
        return nullptr;
    }
    if (!name)
        return nullptr;
    return Resource("icon", instance, name);
}

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name) {
    long error;
    if (ShouldFail("LoadCursorA", nullptr, &error)) {
        SetLastError(error);
        return nullptr;
    }
    if (!name)
        return nullptr;
    return Resource("cursor", instance, name);
}

HGDIOBJ WINAPI GetStockObject(int index) {
    long error;
    if (ShouldFail("GetStockObject", nullptr, &error) || index < 0 || index > DEFAULT_GUI_FONT)
        return nullptr;
    return (HGDIOBJ)(uintptr_t)(0x500000 + 4 * (index + 1));
}

HWND WINAPI CreateDialogParamA(HINSTANCE, LPCSTR templateName, HWND parent, DLGPROC dialogProc,
                               LPARAM initParam) {
    long error;
    if (ShouldFail("CreateDialogParamA", nullptr, &error)) {
        SetLastError(error);
        return nullptr;
    }
    if (!IS_INTRESOURCE(templateName) || !g_templates.count(LOWORD(templateName)) ||
        (parent && !Live(parent))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const DialogTemplate &t = g_templates[LOWORD(templateName)];
    HWND dialog = NewWindow(parent, 0, "#32770", "", dialogProc, true);
    Get(dialog)->rect = {0, 0, t.width, t.height};
    HWND first = nullptr;
    for (const Control &c : t.controls) {
        HWND control = NewWindow(dialog, c.id, c.className.c_str(), c.text.c_str(), nullptr, false);
        first = first ? first : control;
    }
    if (dialogProc)
        dialogProc(dialog, WM_INITDIALOG, (WPARAM)first, initParam);
    return Live(dialog) ? dialog : nullptr;
}

BOOL WINAPI DestroyWindow(HWND window) {
    CountCall("DestroyWindow");
    Window *w = Live(window);
    if (!w) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (!w->destroying)
        Destroy(window);
    return TRUE;
}

BOOL WINAPI ShowWindow(HWND window, int command) {
    CountCall("ShowWindow");
    Window *w = Live(window);
    if (!w)
        return FALSE;
    BOOL previous = w->visible;
    w->visible = command != SW_HIDE;
    return previous;
}

BOOL WINAPI UpdateWindow(HWND window) {
    CountCall("UpdateWindow");
    return Live(window) != nullptr;
}

BOOL WINAPI IsWindow(HWND window) {
    CountCall("IsWindow");
    return Live(window) != nullptr;
}

HWND WINAPI GetDlgItem(HWND dialog, int id) {
    CountCall("GetDlgItem");
    HWND control = Live(dialog) ? FindChild(dialog, id, true) : nullptr;
    if (!control)
        SetLastError(Live(dialog) ? ERROR_CONTROL_ID_NOT_FOUND : ERROR_INVALID_WINDOW_HANDLE);
    return control;
}

BOOL WINAPI SetWindowTextA(HWND window, LPCSTR text) {
    long error;
    if (ShouldFail("SetWindowTextA", nullptr, &error) || !Live(window))
        return FALSE;
    return (BOOL)fakewin::detail::Deliver(window, WM_SETTEXT, 0, (LPARAM)text);
}

BOOL WINAPI GetWindowRect(HWND window, LPRECT rect) {
    long error;
    Window *w = Live(window);
    if (ShouldFail("GetWindowRect", nullptr, &error) || !w || !rect)
        return FALSE;
    *rect = w->rect;
    return TRUE;
}

BOOL WINAPI MoveWindow(HWND window, int x, int y, int width, int height, BOOL) {
    long error;
    Window *w = Live(window);
    if (ShouldFail("MoveWindow", nullptr, &error) || !w)
        return FALSE;
    w->rect = {x, y, x + width, y + height};
    return TRUE;
}

int WINAPI GetSystemMetrics(int index) {
    CountCall("GetSystemMetrics");
    auto m = g_metrics.find(index);
    return m == g_metrics.end() ? 0 : m->second;
}

HDC WINAPI GetDC(HWND window) {
    long error;
    if (ShouldFail("GetDC", nullptr, &error) || (window && !Live(window)))
        return nullptr;
    HDC dc = (HDC)(0x600000 + 4 * ++g_nextDc);
    g_dcs[dc] = window;
    return dc;
}

int WINAPI ReleaseDC(HWND window, HDC dc) {
    CountCall("ReleaseDC");
    auto d = g_dcs.find(dc);
    if (d == g_dcs.end() || d->second != window)
        return 0;
    if (g_dcFonts.count(dc))
        ADD_FAILURE() << "fakewin: a DC released with a font still selected into it";
    g_dcs.erase(d);
    return 1;
}

// A fresh DC holds the system font; selecting it back restores the DC.
HGDIOBJ WINAPI SelectObject(HDC dc, HGDIOBJ object) {
    if (!g_dcs.count(dc) || !object)
        return nullptr;
    HGDIOBJ previous = g_dcFonts.count(dc) ? g_dcFonts[dc] : GetStockObject(SYSTEM_FONT);
    if (object == GetStockObject(SYSTEM_FONT))
        g_dcFonts.erase(dc);
    else
        g_dcFonts[dc] = object;
    return previous;
}

BOOL WINAPI GetTextExtentPoint32A(HDC dc, LPCSTR text, int length, LPSIZE size) {
    long error;
    if (ShouldFail("GetTextExtentPoint32A", nullptr, &error) || !g_dcs.count(dc) || length < 0 ||
        (length && !text) || !size)
        return FALSE;
    // The system font is narrower than any font a window is given, as the
    // system font is against the fixed font at high scaling.
    size->cx = length * (g_dcFonts.count(dc) ? g_charWidth : g_charWidth / 2);
    size->cy = 16;
    return TRUE;
}

LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CountCall("SendMessageA");
    return fakewin::detail::Deliver(window, message, wParam, lParam);
}

namespace fakewin {

void DefineDialog(int templateId, int width, int height, std::vector<ControlTemplate> controls) {
    DialogTemplate &t = g_templates[templateId];
    t = {width, height, {}};
    for (const ControlTemplate &c : controls)
        t.controls.push_back({c.id, c.className ? c.className : "", c.text ? c.text : ""});
}

bool IsLiveWindow(HWND window) {
    return Live(window) != nullptr;
}

bool IsVisible(HWND window) {
    return Visible(window);
}

std::string WindowText(HWND window) {
    Window *w = Get(window);
    return w ? w->text : "";
}

RECT WindowRect(HWND window) {
    Window *w = Get(window);
    return w ? w->rect : RECT{0, 0, 0, 0};
}

std::vector<std::string> ListBoxLines(HWND listBox) {
    Window *w = Get(listBox);
    return w ? w->lines : std::vector<std::string>();
}

int ListBoxExtent(HWND listBox) {
    Window *w = Get(listBox);
    return w ? w->extent : 0;
}

HGDIOBJ FontOf(HWND window) {
    Window *w = Get(window);
    return w ? w->font : nullptr;
}

HICON SmallIconOf(HWND window) {
    Window *w = Get(window);
    return w ? w->smallIcon : nullptr;
}

const WNDCLASSEXA *RegisteredClass(int idx) {
    return idx >= 0 && idx < (int)g_classes.size() ? &g_classes[idx].copy : nullptr;
}

void SetSystemMetric(int index, int value) {
    g_metrics[index] = value;
}

void SetTextWidthPerChar(int pixels) {
    g_charWidth = pixels;
}

int OutstandingDCs() {
    return (int)g_dcs.size();
}

HWND DialogItem(HWND dialog, int id) {
    return FindChild(dialog, id, false);
}

namespace detail {

LRESULT Deliver(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Window *w = Live(window);
    if (!w)
        return 0;
    if (w->proc) {
        INT_PTR handled = w->proc(window, message, wParam, lParam);
        if (handled || !w->alive)
            return handled;
    }
    return DefaultProc(*w, message, wParam, lParam);
}

bool IsWindowOrChildOf(HWND window, HWND ancestor) {
    while (window) {
        if (window == ancestor)
            return true;
        Window *w = Get(window);
        if (!w)
            return false;
        window = w->parent;
    }
    return false;
}

HWND NewestLiveDialog() {
    for (size_t i = g_windows.size(); i-- > 0;)
        if (g_windows[i].alive && g_windows[i].className == "#32770")
            return HandleOf(i);
    return nullptr;
}

void ResetWindows() {
    g_windows.clear();
    g_templates.clear();
    g_classes.clear();
    g_nextAtom = 0xC000;
    g_resources.clear();
    g_metrics = {{SM_CXSCREEN, 1024}, {SM_CYSCREEN, 768}, {SM_CXBORDER, 1}, {SM_CYBORDER, 1}};
    g_charWidth = 8;
    g_dcs.clear();
    g_dcFonts.clear();
    g_nextDc = 0;
}

} // namespace detail
} // namespace fakewin

namespace {
std::vector<std::pair<std::string, HWND>> g_otherWindows; // class (atom as "#n") and window
HWND g_foreground;

std::string ClassKey(const char *className) {
    return IS_INTRESOURCE(className) ? "#" + std::to_string((unsigned)(uintptr_t)className)
                                     : fakewin::detail::Folded(className);
}
} // namespace

HWND WINAPI FindWindowA(LPCSTR className, LPCSTR windowName) {
    fakewin::detail::CountCall("FindWindowA");
    if (windowName)
        ADD_FAILURE() << "fakewin: FindWindowA looks by class only";
    for (const auto &other : g_otherWindows)
        if (className && other.first == ClassKey(className))
            return other.second;
    return nullptr;
}

BOOL WINAPI SetForegroundWindow(HWND window) {
    g_foreground = window;
    return TRUE;
}

namespace fakewin {

void AddOtherWindow(const char *className, HWND window) {
    g_otherWindows.push_back({ClassKey(className), window});
}

HWND ForegroundWindow() {
    return g_foreground;
}

namespace detail {

void ResetOtherWindows() {
    g_otherWindows.clear();
    g_foreground = nullptr;
}

} // namespace detail
} // namespace fakewin
