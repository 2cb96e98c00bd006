// The thread's message queue and the scripted operator behind WaitMessage.
// Nothing here may hang a test: waiting and polling are bounded.
#include <windows.h>
#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>
#include <deque>
#include "fakewin_internal.h"

using fakewin::detail::CountCall;

namespace {

const int kMaxIdleWaits = 1000;
const long kMaxPollsWithoutProgress = 100000;

std::deque<MSG> g_queue;
bool g_quitPosted;
int g_quitCode;
std::deque<std::function<void()>> g_idleSteps;
int g_idleWaits;
long g_pollsWithoutProgress;

[[noreturn]] void Stuck(const char *why) {
    ADD_FAILURE() << "fakewin: " << why;
    fprintf(stderr, "fakewin: %s; aborting instead of hanging\n", why);
    fflush(stderr);
    abort();
}

void NoProgress() {
    if (++g_pollsWithoutProgress > kMaxPollsWithoutProgress)
        Stuck("the program polls an empty queue without end");
}

bool Matches(const MSG &msg, HWND filter, UINT filterMin, UINT filterMax) {
    return (!filter || fakewin::detail::IsWindowOrChildOf(msg.hwnd, filter)) &&
           ((filterMin == 0 && filterMax == 0) ||
            (msg.message >= filterMin && msg.message <= filterMax));
}

void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    g_queue.push_back({window, message, wParam, lParam, 0, {0, 0}});
}

} // namespace

BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    long error;
    if (fakewin::detail::ShouldFail("PostMessageA", nullptr, &error)) {
        SetLastError(error);
        return FALSE;
    }
    if (!fakewin::IsLiveWindow(window)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    Post(window, message, wParam, lParam);
    return TRUE;
}

void WINAPI PostQuitMessage(int exitCode) {
    CountCall("PostQuitMessage");
    g_quitPosted = true;
    g_quitCode = exitCode;
}

BOOL WINAPI PeekMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax, UINT removeMsg) {
    CountCall("PeekMessageA");
    for (auto m = g_queue.begin(); m != g_queue.end(); ++m) {
        if (Matches(*m, window, filterMin, filterMax)) {
            *msg = *m;
            if (removeMsg & PM_REMOVE)
                g_queue.erase(m);
            g_pollsWithoutProgress = 0;
            return TRUE;
        }
    }
    // A posted quit comes after the posted messages, whatever the window filter.
    MSG quit = {nullptr, WM_QUIT, (WPARAM)g_quitCode, 0, 0, {0, 0}};
    if (g_quitPosted && Matches(quit, nullptr, filterMin, filterMax)) {
        *msg = quit;
        if (removeMsg & PM_REMOVE)
            g_quitPosted = false;
        g_pollsWithoutProgress = 0;
        return TRUE;
    }
    NoProgress();
    return FALSE;
}

BOOL WINAPI IsDialogMessageA(HWND, LPMSG) {
    CountCall("IsDialogMessageA");
    return FALSE;
}

BOOL WINAPI TranslateMessage(const MSG *) {
    CountCall("TranslateMessage");
    return FALSE;
}

LRESULT WINAPI DispatchMessageA(const MSG *msg) {
    CountCall("DispatchMessageA");
    return msg ? fakewin::detail::Deliver(msg->hwnd, msg->message, msg->wParam, msg->lParam) : 0;
}

BOOL WINAPI WaitMessage(void) {
    CountCall("WaitMessage");
    if (!g_queue.empty() || g_quitPosted) {
        NoProgress();
        return TRUE;
    }
    if (++g_idleWaits > kMaxIdleWaits)
        Stuck("the program kept waiting after every idle step had run");
    g_pollsWithoutProgress = 0;
    if (!g_idleSteps.empty()) {
        std::function<void()> step = std::move(g_idleSteps.front());
        g_idleSteps.pop_front();
        step();
        return TRUE;
    }
    // The script is over: the operator closes the window.
    HWND dialog = fakewin::detail::NewestLiveDialog();
    if (!dialog)
        Stuck("the program waits for messages with no window left");
    Post(dialog, WM_CLOSE, 0, 0);
    return TRUE;
}

namespace fakewin {

void OnIdle(std::function<void()> step) {
    g_idleSteps.push_back(step);
}

int IdleWaits() {
    return g_idleWaits;
}

namespace detail {

void RunModalLoop() {
    for (long n = 0;; n++) {
        auto m = g_queue.begin();
        while (m != g_queue.end() && m->message == WM_QUIT)
            ++m;
        if (m == g_queue.end())
            return;
        if (n > kMaxPollsWithoutProgress)
            Stuck("a modal loop keeps receiving messages");
        MSG msg = *m;
        g_queue.erase(m);
        Deliver(msg.hwnd, msg.message, msg.wParam, msg.lParam);
    }
}

void DropMessagesOf(HWND window) {
    for (auto m = g_queue.begin(); m != g_queue.end();)
        m = m->hwnd == window ? g_queue.erase(m) : m + 1;
}

void ResetMessages() {
    g_queue.clear();
    g_quitPosted = false;
    g_quitCode = 0;
    g_idleSteps.clear();
    g_idleWaits = 0;
    g_pollsWithoutProgress = 0;
}

} // namespace detail
} // namespace fakewin
