// Fault injection and call counting shared by every faked function, and the
// thread's last-error value.
#include <windows.h>
#include <gtest/gtest.h>
#include <map>
#include "fakewin_internal.h"

namespace {

struct PathFault {
    std::string function;
    std::string path; // folded
    long error;
};

std::map<std::string, int> g_calls;
std::map<std::string, std::map<int, long>> g_nthFaults;
std::vector<PathFault> g_pathFaults;
DWORD g_lastError;

bool HasRule(const std::string &function) {
    if (g_nthFaults.count(function))
        return true;
    for (const PathFault &f : g_pathFaults)
        if (f.function == function)
            return true;
    return false;
}

} // namespace

DWORD WINAPI GetLastError(void) {
    return g_lastError;
}

void WINAPI SetLastError(DWORD error) {
    g_lastError = error;
}

namespace fakewin {

void FailNthCall(const char *function, int nth, long error) {
    g_nthFaults[function][nth] = error;
}

void FailOnPath(const char *function, const char *path, long error) {
    g_pathFaults.push_back({function, detail::Folded(path), error});
}

int CallCount(const char *function) {
    auto it = g_calls.find(function);
    return it == g_calls.end() ? 0 : it->second;
}

namespace detail {

bool ShouldFail(const char *function, const char *path, long *error) {
    int n = ++g_calls[function];
    auto nth = g_nthFaults.find(function);
    if (nth != g_nthFaults.end()) {
        auto hit = nth->second.find(n);
        if (hit != nth->second.end()) {
            *error = hit->second;
            return true;
        }
    }
    if (path) {
        std::string folded = Folded(path);
        for (const PathFault &f : g_pathFaults) {
            if (f.function == function && f.path == folded) {
                *error = f.error;
                return true;
            }
        }
    }
    return false;
}

void CountCall(const char *function) {
    ++g_calls[function];
    if (HasRule(function))
        ADD_FAILURE() << "fakewin: " << function << " cannot be made to fail";
}

void ResetFaults() {
    g_calls.clear();
    g_nthFaults.clear();
    g_pathFaults.clear();
    g_lastError = 0;
}

} // namespace detail
} // namespace fakewin
