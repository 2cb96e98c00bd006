// Host stand-in for the Windows headers: the types, constants and calls the
// program uses, with Windows widths (DWORD and LONG are 32 bits, WCHAR is 16),
// implemented in memory by the test double next to this folder.
// Everything lives in this one header; <commdlg.h>, <oleauto.h>, <ole2.h> and
// <objbase.h> only include it.
#pragma once
#include <stdarg.h>
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#define WINAPI
#define WINAPIV
#define CALLBACK
#define APIENTRY
#define STDMETHODCALLTYPE

// ---- basic types ----
typedef uint8_t BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef uint32_t ULONG;
typedef int INT;
typedef unsigned int UINT;
typedef int BOOL;
typedef char CHAR;
typedef char16_t WCHAR;
typedef WCHAR OLECHAR;
typedef LONG HRESULT;
typedef DWORD LCID;
typedef DWORD REGSAM;
typedef WORD ATOM;
typedef void *LPVOID;
typedef const void *LPCVOID;
typedef BYTE *LPBYTE;
typedef DWORD *LPDWORD;
typedef BOOL *LPBOOL;
typedef UINT *PUINT;
typedef LONG *LPLONG;
typedef CHAR *LPSTR;
typedef const CHAR *LPCSTR;
typedef const CHAR *LPCCH;
typedef WCHAR *LPWSTR;
typedef const WCHAR *LPCWSTR;
typedef const WCHAR *LPCWCH;
typedef OLECHAR *LPOLESTR;
typedef const OLECHAR *LPCOLESTR;
typedef CHAR TCHAR;
typedef LPSTR LPTSTR;
typedef LPCSTR LPCTSTR;

// Pointer-sized integers. INT_PTR and LONG_PTR are distinct types (as int and
// long are on i686), so a dialog procedure assigned to a WNDPROC needs the same
// cast here as on the real target.
typedef long long INT_PTR;
typedef unsigned long long UINT_PTR;
typedef long LONG_PTR;
typedef unsigned long ULONG_PTR;
typedef ULONG_PTR SIZE_T;
typedef ULONG_PTR DWORD_PTR;
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;
static_assert(sizeof(INT_PTR) == sizeof(void *) && sizeof(LONG_PTR) == sizeof(void *),
              "pointer-sized integers");

// Distinct handle types, as with STRICT.
#define DECLARE_HANDLE(name)                                                                       \
    struct name##__ {                                                                              \
        int unused;                                                                                \
    };                                                                                             \
    typedef struct name##__ *name
typedef void *HANDLE;
DECLARE_HANDLE(HWND);
DECLARE_HANDLE(HINSTANCE);
DECLARE_HANDLE(HKEY);
DECLARE_HANDLE(HICON);
DECLARE_HANDLE(HBRUSH);
DECLARE_HANDLE(HFONT);
DECLARE_HANDLE(HDC);
DECLARE_HANDLE(HMENU);
typedef HINSTANCE HMODULE;
typedef HICON HCURSOR;
typedef HANDLE HGDIOBJ;
typedef HANDLE HGLOBAL;
typedef HKEY *PHKEY;

// The real FARPROC returns INT_PTR, which is int on i686: keeping the 32-bit
// return makes casts to the program's entry typedefs warn exactly where they
// warn for the real target.
typedef int(WINAPI *FARPROC)();
typedef INT_PTR(CALLBACK *DLGPROC)(HWND, UINT, WPARAM, LPARAM);
typedef LRESULT(CALLBACK *WNDPROC)(HWND, UINT, WPARAM, LPARAM);

// ---- structures ----
typedef struct tagRECT {
    LONG left, top, right, bottom;
} RECT, *LPRECT;
typedef struct tagPOINT {
    LONG x, y;
} POINT, *LPPOINT;
typedef struct tagSIZE {
    LONG cx, cy;
} SIZE, *LPSIZE;
typedef struct tagMSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
} MSG, *LPMSG;
typedef struct _SYSTEMTIME {
    WORD wYear, wMonth, wDayOfWeek, wDay, wHour, wMinute, wSecond, wMilliseconds;
} SYSTEMTIME, *LPSYSTEMTIME;

typedef struct _SECURITY_ATTRIBUTES {
    DWORD nLength;
    LPVOID lpSecurityDescriptor;
    BOOL bInheritHandle;
} SECURITY_ATTRIBUTES, *LPSECURITY_ATTRIBUTES;
typedef struct tagWNDCLASSEXA {
    UINT cbSize;
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
    HICON hIconSm;
} WNDCLASSEXA, *LPWNDCLASSEXA;

typedef UINT_PTR(CALLBACK *LPOFNHOOKPROC)(HWND, UINT, WPARAM, LPARAM);
typedef struct tagOFNA {
    DWORD lStructSize;
    HWND hwndOwner;
    HINSTANCE hInstance;
    LPCSTR lpstrFilter;
    LPSTR lpstrCustomFilter;
    DWORD nMaxCustFilter;
    DWORD nFilterIndex;
    LPSTR lpstrFile;
    DWORD nMaxFile;
    LPSTR lpstrFileTitle;
    DWORD nMaxFileTitle;
    LPCSTR lpstrInitialDir;
    LPCSTR lpstrTitle;
    DWORD Flags;
    WORD nFileOffset;
    WORD nFileExtension;
    LPCSTR lpstrDefExt;
    LPARAM lCustData;
    LPOFNHOOKPROC lpfnHook;
    LPCSTR lpTemplateName;
    void *pvReserved;
    DWORD dwReserved;
    DWORD FlagsEx;
} OPENFILENAMEA, *LPOPENFILENAMEA;
// Size of the record up to lpTemplateName on i686; a number, not a host size.
#define OPENFILENAME_SIZE_VERSION_400A 76

typedef struct _GUID {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
} GUID, IID, CLSID;
typedef const GUID &REFGUID;
typedef const IID &REFIID;
typedef const CLSID &REFCLSID;

typedef enum tagSYSKIND { SYS_WIN16 = 0, SYS_WIN32 = 1, SYS_MAC = 2, SYS_WIN64 = 3 } SYSKIND;

struct IUnknown {
    virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **object) = 0;
    virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
    virtual ULONG STDMETHODCALLTYPE Release() = 0;
};
struct ITypeLib : public IUnknown {};

// ---- general macros ----
#ifndef NULL
#define NULL 0
#endif
#define TRUE     1
#define FALSE    0
#define MAX_PATH 260

#define LOWORD(l) ((WORD)(((DWORD_PTR)(l)) & 0xffff))
#define HIWORD(l) ((WORD)((((DWORD_PTR)(l)) >> 16) & 0xffff))
#define MAKELONG(a, b)                                                                             \
    ((LONG)(((WORD)((DWORD_PTR)(a)&0xffff)) | ((DWORD)((WORD)((DWORD_PTR)(b)&0xffff))) << 16))
#define MAKEWPARAM(l, h)      ((WPARAM)(DWORD)MAKELONG(l, h))
#define MAKELPARAM(l, h)      ((LPARAM)(DWORD)MAKELONG(l, h))
#define IS_INTRESOURCE(r)     ((((ULONG_PTR)(r)) >> 16) == 0)
#define MAKEINTRESOURCEA(i)   ((LPSTR)((ULONG_PTR)((WORD)(i))))
#define MAKEINTRESOURCE(i)    MAKEINTRESOURCEA(i)
#define MAKEINTATOM(i)        ((LPSTR)((ULONG_PTR)((WORD)(i))))
#define ZeroMemory(dst, n)    memset((dst), 0, (n))
#define CopyMemory(dst, s, n) memcpy((dst), (s), (n))
#define ARRAYSIZE(a)          (sizeof(a) / sizeof((a)[0]))

// ---- results and errors ----
#define SUCCEEDED(hr)          (((HRESULT)(hr)) >= 0)
#define FAILED(hr)             (((HRESULT)(hr)) < 0)
#define S_OK                   ((HRESULT)0)
#define E_NOINTERFACE          ((HRESULT)0x80004002L)
#define E_FAIL                 ((HRESULT)0x80004005L)
#define E_INVALIDARG           ((HRESULT)0x80070057L)
#define TYPE_E_CANTLOADLIBRARY ((HRESULT)0x80029C4AL)
#define HRESULT_FROM_WIN32(e)                                                                      \
    ((HRESULT)(e) <= 0 ? (HRESULT)(e) : (HRESULT)(((e)&0x0000FFFF) | 0x80070000))

#define ERROR_SUCCESS                 0L
#define NO_ERROR                      0L
#define ERROR_FILE_NOT_FOUND          2L
#define ERROR_ACCESS_DENIED           5L
#define ERROR_INVALID_HANDLE          6L
#define ERROR_SHARING_VIOLATION       32L
#define ERROR_FILE_EXISTS             80L
#define ERROR_ALREADY_EXISTS          183L
#define ERROR_INVALID_PARAMETER       87L
#define ERROR_INSUFFICIENT_BUFFER     122L
#define ERROR_MOD_NOT_FOUND           126L
#define ERROR_PROC_NOT_FOUND          127L
#define ERROR_BAD_PATHNAME            161L
#define ERROR_FILENAME_EXCED_RANGE    206L
#define ERROR_KEY_DELETED             1018L
#define ERROR_INVALID_WINDOW_HANDLE   1400L
#define ERROR_CLASS_ALREADY_EXISTS    1410L
#define ERROR_CONTROL_ID_NOT_FOUND    1421L
#define ERROR_RESOURCE_DATA_NOT_FOUND 1812L

// ---- registry ----
#define HKEY_LOCAL_MACHINE      ((HKEY)(ULONG_PTR)0x80000002)
#define KEY_SET_VALUE           0x0002u
#define KEY_CREATE_SUB_KEY      0x0004u
#define KEY_WRITE               0x20006u
#define KEY_ALL_ACCESS          0xF003Fu
#define REG_NONE                0
#define REG_SZ                  1
#define REG_OPTION_NON_VOLATILE 0
#define REG_CREATED_NEW_KEY     1
#define REG_OPENED_EXISTING_KEY 2

// ---- files, modules, memory ----
#define GENERIC_READ             0x80000000u
#define GENERIC_WRITE            0x40000000u
#define FILE_SHARE_READ          1
#define FILE_SHARE_WRITE         2
#define OPEN_EXISTING            3
#define OPEN_ALWAYS              4
#define FILE_END                 2
#define INVALID_SET_FILE_POINTER ((DWORD)-1)
#define FILE_ATTRIBUTE_NORMAL    0x80
#define INVALID_HANDLE_VALUE     ((HANDLE)(LONG_PTR)-1)
#define GMEM_MOVEABLE            2
#define GMEM_ZEROINIT            0x40

// ---- text ----
#define LOCALE_SYSTEM_DEFAULT 0x0800
#define NORM_IGNORECASE       1
#define CSTR_LESS_THAN        1
#define CSTR_EQUAL            2
#define CSTR_GREATER_THAN     3
#define CP_ACP                0
#define CP_UTF8               65001

// ---- windows and messages ----
#define WM_NULL                0x0000
#define WM_DESTROY             0x0002
#define WM_SETTEXT             0x000C
#define WM_GETTEXT             0x000D
#define WM_GETTEXTLENGTH       0x000E
#define WM_CLOSE               0x0010
#define WM_QUIT                0x0012
#define WM_SETFONT             0x0030
#define WM_GETFONT             0x0031
#define WM_SETICON             0x0080
#define WM_INITDIALOG          0x0110
#define WM_COMMAND             0x0111
#define WM_USER                0x0400
#define BN_CLICKED             0
#define LB_ERR                 (-1)
#define LB_ADDSTRING           0x0180
#define LB_DELETESTRING        0x0182
#define LB_RESETCONTENT        0x0184
#define LB_GETTEXT             0x0189
#define LB_GETTEXTLEN          0x018A
#define LB_GETCOUNT            0x018B
#define LB_GETHORIZONTALEXTENT 0x0193
#define LB_SETHORIZONTALEXTENT 0x0194
#define PM_NOREMOVE            0
#define PM_REMOVE              1

#define SW_HIDE        0
#define SW_SHOWNORMAL  1
#define SW_SHOWDEFAULT 10

#define CS_VREDRAW     0x0001
#define CS_HREDRAW     0x0002
#define DLGWINDOWEXTRA 30
#define IDC_ARROW      MAKEINTRESOURCEA(32512)
#define ICON_SMALL     0
#define SM_CXSCREEN    0
#define SM_CYSCREEN    1
#define SM_CXBORDER    5
#define SM_CYBORDER    6

#define LTGRAY_BRUSH      1
#define SYSTEM_FONT       13
#define SYSTEM_FIXED_FONT 16
#define DEFAULT_GUI_FONT  17

// ---- message boxes ----
#define MB_YESNOCANCEL     0x00000003u
#define MB_TYPEMASK        0x0000000Fu
#define MB_ICONHAND        0x00000010u
#define MB_ICONERROR       MB_ICONHAND
#define MB_ICONQUESTION    0x00000020u
#define MB_ICONEXCLAMATION 0x00000030u
#define MB_ICONWARNING     MB_ICONEXCLAMATION
#define MB_ICONASTERISK    0x00000040u
#define MB_ICONINFORMATION MB_ICONASTERISK
#define MB_TOPMOST         0x00040000u
#define IDOK               1
#define IDCANCEL           2
#define IDYES              6
#define IDNO               7

// ---- common dialogs ----
#define OFN_PATHMUSTEXIST 0x00000800u
#define OFN_FILEMUSTEXIST 0x00001000u
#define OFN_EXPLORER      0x00080000u

// ---- KERNEL32 ----
DWORD WINAPI GetLastError(void);
void WINAPI SetLastError(DWORD error);
HANDLE WINAPI CreateFileA(LPCSTR fileName, DWORD access, DWORD shareMode,
                          LPSECURITY_ATTRIBUTES security, DWORD disposition, DWORD attributes,
                          HANDLE templateFile);
BOOL WINAPI CloseHandle(HANDLE handle);
BOOL WINAPI WriteFile(HANDLE file, LPCVOID data, DWORD bytes, LPDWORD written, void *overlapped);
DWORD WINAPI SetFilePointer(HANDLE file, LONG distance, LONG *distanceHigh, DWORD method);
#define FILE_TYPE_DISK 1
#define FILE_TYPE_CHAR 2
DWORD WINAPI GetFileType(HANDLE file);
HANDLE WINAPI CreateMutexA(LPSECURITY_ATTRIBUTES security, BOOL initialOwner, LPCSTR name);
void WINAPI GetLocalTime(LPSYSTEMTIME time);
BOOL WINAPI CopyFileA(LPCSTR existingFile, LPCSTR newFile, BOOL failIfExists);
HMODULE WINAPI LoadLibraryA(LPCSTR fileName);
#define LOAD_WITH_ALTERED_SEARCH_PATH 0x00000008u
HMODULE WINAPI LoadLibraryExA(LPCSTR fileName, HANDLE reserved, DWORD flags);
UINT WINAPI GetSystemDirectoryA(LPSTR buffer, UINT size);
FARPROC WINAPI GetProcAddress(HMODULE module, LPCSTR procName);
BOOL WINAPI FreeLibrary(HMODULE module);
DWORD WINAPI GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size);
HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName);
HGLOBAL WINAPI GlobalAlloc(UINT flags, SIZE_T bytes);
LPVOID WINAPI GlobalLock(HGLOBAL memory);
BOOL WINAPI GlobalUnlock(HGLOBAL memory);
HGLOBAL WINAPI GlobalFree(HGLOBAL memory);
int WINAPI lstrlenA(LPCSTR text);
LPSTR WINAPI lstrcpyA(LPSTR dst, LPCSTR src);
LPSTR WINAPI lstrcpynA(LPSTR dst, LPCSTR src, int maxLength);
LPSTR WINAPI lstrcatA(LPSTR dst, LPCSTR src);
int WINAPI lstrcmpA(LPCSTR a, LPCSTR b);
int WINAPI lstrcmpiA(LPCSTR a, LPCSTR b);
int WINAPI CompareStringA(LCID locale, DWORD flags, LPCSTR a, int countA, LPCSTR b, int countB);
int WINAPI MultiByteToWideChar(UINT codePage, DWORD flags, LPCCH src, int srcBytes, LPWSTR dst,
                               int dstChars);
int WINAPI WideCharToMultiByte(UINT codePage, DWORD flags, LPCWCH src, int srcChars, LPSTR dst,
                               int dstBytes, LPCCH defaultChar, LPBOOL usedDefaultChar);

// ---- USER32 ----
int WINAPIV wsprintfA(LPSTR dst, LPCSTR format, ...);
int WINAPI wvsprintfA(LPSTR dst, LPCSTR format, va_list args);
ATOM WINAPI RegisterClassExA(const WNDCLASSEXA *windowClass);
HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name);
HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name);
HWND WINAPI CreateDialogParamA(HINSTANCE instance, LPCSTR templateName, HWND parent,
                               DLGPROC dialogProc, LPARAM initParam);
BOOL WINAPI DestroyWindow(HWND window);
BOOL WINAPI ShowWindow(HWND window, int command);
BOOL WINAPI UpdateWindow(HWND window);
BOOL WINAPI IsWindow(HWND window);
HWND WINAPI GetDlgItem(HWND dialog, int id);
BOOL WINAPI SetWindowTextA(HWND window, LPCSTR text);
BOOL WINAPI GetWindowRect(HWND window, LPRECT rect);
BOOL WINAPI MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint);
int WINAPI GetSystemMetrics(int index);
HDC WINAPI GetDC(HWND window);
int WINAPI ReleaseDC(HWND window, HDC dc);
LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void WINAPI PostQuitMessage(int exitCode);
BOOL WINAPI PeekMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax, UINT removeMsg);
BOOL WINAPI IsDialogMessageA(HWND dialog, LPMSG msg);
BOOL WINAPI TranslateMessage(const MSG *msg);
LRESULT WINAPI DispatchMessageA(const MSG *msg);
BOOL WINAPI WaitMessage(void);
int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
HWND WINAPI FindWindowA(LPCSTR className, LPCSTR windowName);
BOOL WINAPI SetForegroundWindow(HWND window);

// ---- GDI32 ----
HGDIOBJ WINAPI GetStockObject(int index);
BOOL WINAPI GetTextExtentPoint32A(HDC dc, LPCSTR text, int length, LPSIZE size);
HGDIOBJ WINAPI SelectObject(HDC dc, HGDIOBJ object);

// ---- VERSION ----
DWORD WINAPI GetFileVersionInfoSizeA(LPCSTR fileName, LPDWORD handle);
BOOL WINAPI GetFileVersionInfoA(LPCSTR fileName, DWORD handle, DWORD length, LPVOID data);
BOOL WINAPI VerQueryValueA(LPCVOID block, LPCSTR subBlock, LPVOID *buffer, PUINT length);

// ---- ADVAPI32 ----
LONG WINAPI RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result);
LONG WINAPI RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD reserved, LPSTR keyClass, DWORD options,
                            REGSAM access, LPSECURITY_ATTRIBUTES security, PHKEY result,
                            LPDWORD disposition);
LONG WINAPI RegSetValueExA(HKEY key, LPCSTR valueName, DWORD reserved, DWORD type, const BYTE *data,
                           DWORD dataBytes);
LONG WINAPI RegDeleteKeyA(HKEY key, LPCSTR subKey);
LONG WINAPI RegCloseKey(HKEY key);

// ---- COMDLG32 ----
BOOL WINAPI GetOpenFileNameA(LPOPENFILENAMEA record);
BOOL WINAPI GetSaveFileNameA(LPOPENFILENAMEA record);

// ---- OLEAUT32 ----
HRESULT WINAPI LoadTypeLib(LPCOLESTR file, ITypeLib **typeLib);
HRESULT WINAPI RegisterTypeLib(ITypeLib *typeLib, LPCOLESTR fullPath, LPCOLESTR helpDir);
HRESULT WINAPI UnRegisterTypeLib(REFGUID libId, WORD majorVersion, WORD minorVersion, LCID lcid,
                                 SYSKIND sysKind);

// ---- the ANSI names of the records without their suffix ----
