// What the subsystems of the test double share among themselves; tests use
// fakewin.h only.
#pragma once
#include "fakewin.h"

namespace fakewin {
namespace detail {

// Counts a call of `function` and tells whether an injected fault hits it;
// `path` (may be null) is the key or file the call works on. On a hit,
// *error receives the injected code.
bool ShouldFail(const char *function, const char *path, long *error);
// Counts a call of a function that cannot be made to fail.
void CountCall(const char *function);

// Code page 1252 case folding and a folded copy, for case-insensitive names.
unsigned char FoldCase(unsigned char c);
std::string Folded(const char *text);
// UTF-16 to code page 1252, for the wide paths of OLE Automation.
std::string Narrow(const WCHAR *text);

// Runs the posted messages of the queue through their windows, as the modal
// loop of a message box or common dialog does.
void RunModalLoop();
// Drops the queued messages of a window that is being destroyed.
void DropMessagesOf(HWND window);
// The window procedure side of a message: what SendMessageA and
// DispatchMessageA both end in.
LRESULT Deliver(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
bool IsWindowOrChildOf(HWND window, HWND ancestor);
HWND NewestLiveDialog();

// A copied file takes its module registration and version block along.
void CopyModule(const char *from, const char *to);
void CopyVersion(const char *from, const char *to);

// Each subsystem's part of Reset().
void ResetFaults();
void ResetRegistry();
void ResetFiles();
void ResetModules();
void ResetVersion();
void ResetWindows();
void ResetOtherWindows();
void ResetMessages();
void ResetDialogs();
void ResetOle();

} // namespace detail
} // namespace fakewin
