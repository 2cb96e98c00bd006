// Control surface of the Win32 test double: what a unit test uses to set up
// the fake machine, script the operator and read back what the program did.
// The program's sources never include this header.
#pragma once
#include <windows.h>
#include <functional>
#include <string>
#include <vector>

namespace fakewin {

// Fresh private state for every test: empty registry except the keys
// HKLM\Software\Classes and HKLM\Software\Classes\CLSID, no files, no
// modules, no windows, no scripts, no faults, all counters at zero.
void Reset();

// ---- fault injection (any faked function, by its Win32 name) ----
// The nth call (1-based, counted from Reset) of `function` fails with `error`
// (a Win32 error for registry/file calls, an HRESULT for OLE calls).
void FailNthCall(const char *function, int nth, long error = 5);
// Every call of `function` whose key or file path (full, case-insensitive,
// registry paths relative to HKLM such as "Software\\Classes\\CLSID") equals
// `path` fails with `error`.
void FailOnPath(const char *function, const char *path, long error = 5);
// Number of calls of `function` since Reset.
int CallCount(const char *function);

// ---- registry (all paths relative to HKEY_LOCAL_MACHINE) ----
void SeedKey(const char *path); // creates the key and its parents
void SeedString(const char *path, const char *valueName, const char *data); // null name = default
bool KeyExists(const char *path);
struct RegValue {
    bool present;
    DWORD type;
    std::string bytes; // exactly the bytes stored, terminator included
};
RegValue ReadValue(const char *path, const char *valueName); // null name = default
std::vector<std::string> Subkeys(const char *path);          // names as created
int OpenKeyHandles();                                        // opened and not yet closed
DWORD LastAccessMask(const char *path); // mask of the latest open/create of path, 0 if none

// ---- files (Windows paths, case-insensitive) ----
void AddFile(const char *path, const char *contents = "");
void RemoveFile(const char *path);
bool FileExists(const char *path);
std::string FileContents(const char *path);
void LockFile(const char *path); // held open elsewhere: an exclusive open fails
int OpenFileHandles();           // files and mutexes opened and not yet closed

void AddDevice(const char *path); // opens like a file, but GetFileType says it is a device

// ---- other processes ----
void HoldMutex(const char *name); // another process made it
// FindWindowA finds `window` by this class (an atom or a name).
void AddOtherWindow(const char *className, HWND window);
HWND ForegroundWindow(); // the latest SetForegroundWindow, null when none
// GetLocalTime always answers 07/12/2026 09:05:03.

// ---- modules ----
struct Export {
    const char *name;
    void *entry;
};
// Registers a loadable library. `name` is matched case-insensitively against
// the argument of LoadLibraryA, either a full path or a bare file name.
void AddModule(const char *name, std::vector<Export> exports);
int ModuleLoadCount(const char *name); // loads minus frees; 0 when not loaded
void SetModuleFileName(HMODULE module, const char *path);
// Every Reset registers version.dll, comdlg32.dll and oleaut32.dll (entries
// by ordinal as "#161") in this folder, whose entries are the double's own
// functions, and a loaded kernel32.dll with SetDllDirectoryA.
#define FAKE_SYSTEM_FOLDER "C:\\windows\\system32"
// Flags of the latest LoadLibraryExA of `name`; 0xFFFFFFFF when never.
DWORD LoadExFlags(const char *name);
// What SetDllDirectoryA was last given; null when it never was.
const char *DllDirectory();

// ---- version resources ----
// Gives `file` a version block holding these string values, keyed by the
// query path, e.g. "\\StringFileInfo\\041604b0\\ProductVersion".
void SetVersionStrings(const char *file, std::vector<std::pair<std::string, std::string>> values);
int GlobalBlocksOutstanding();

// ---- windows, dialogs, list boxes ----
struct ControlTemplate {
    int id;
    const char *className; // "Button", "Static", "ListBox"
    const char *text;
};
// A dialog template CreateDialogParamA can build; width and height in pixels.
void DefineDialog(int templateId, int width, int height, std::vector<ControlTemplate> controls);
bool IsLiveWindow(HWND window);
bool IsVisible(HWND window);
std::string WindowText(HWND window);
RECT WindowRect(HWND window);
std::vector<std::string> ListBoxLines(HWND listBox);
int ListBoxExtent(HWND listBox);
HGDIOBJ FontOf(HWND window);    // last WM_SETFONT
HICON SmallIconOf(HWND window); // last WM_SETICON ICON_SMALL
const WNDCLASSEXA *
RegisteredClass(int idx); // copies of what RegisterClassExA got; null past the end
void SetSystemMetric(int index, int value); // defaults: 1024 x 768 screen, border 1
void SetTextWidthPerChar(int pixels);       // GetTextExtentPoint32A: length * pixels (default 8)
int OutstandingDCs();
// A control of a dialog by id; also finds destroyed windows, whose texts and
// lines stay readable.
HWND DialogItem(HWND dialog, int id);

// ---- the operator ----
// WaitMessage with an empty queue runs the next idle step (which usually
// posts a command); with none left it closes the newest live dialog. A test
// whose program keeps waiting past a bound fails instead of hanging.
void OnIdle(std::function<void()> step);
int IdleWaits();

// Message boxes: every MessageBoxA takes the next scripted answer, after
// running `during` (if any) as if the operator did something while it shows.
// An unscripted box fails the test and answers IDCANCEL.
void AnswerMessageBox(int answer, std::function<void()> during = nullptr);
struct MessageBoxRecord {
    HWND owner;
    std::string text;
    std::string caption;
    UINT flags;
};
const std::vector<MessageBoxRecord> &MessageBoxes();

// File dialogs: the next GetOpenFileNameA / GetSaveFileNameA confirms `path`
// (null: the operator dismisses it). An unscripted dialog fails the test.
void AnswerOpenDialog(const char *path);
void AnswerSaveDialog(const char *path);
struct FileDialogRecord {
    bool save;
    DWORD structSize;
    HWND owner;
    HINSTANCE instance;
    std::string filter; // raw bytes up to and including the closing double NUL
    bool customFilter;  // lpstrCustomFilter non-null
    DWORD filterIndex;
    std::string initialFile; // lpstrFile's text when the dialog opened
    DWORD maxFile;
    bool fileTitle; // lpstrFileTitle non-null
    bool initialDir;
    std::string title;
    DWORD flags;
    bool defExt;
    bool hook;
};
const std::vector<FileDialogRecord> &FileDialogs();

// ---- OLE Automation ----
// One line per call, e.g. "LoadTypeLib D:\\Lib\\Quorvalis.tlb",
// "RegisterTypeLib D:\\Lib\\Quorvalis.tlb", "Release",
// "UnRegisterTypeLib {C84A1F39-2E6D-4B07-9F51-0A7E3D62B8C4} 1.0 0 1".
const std::vector<std::string> &OleCalls();
int TypeLibsOutstanding();

} // namespace fakewin