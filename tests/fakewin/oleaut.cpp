// Type libraries through OLE Automation: loading needs the file, and every
// call (Release included) is written down for the tests.
#include <windows.h>
#include <gtest/gtest.h>
#include <stdio.h>
#include <set>
#include "fakewin_internal.h"

using fakewin::detail::Narrow;
using fakewin::detail::ShouldFail;

namespace {

std::vector<std::string> g_calls;
std::set<ITypeLib *> g_typeLibs; // loaded and not yet released

struct FakeTypeLib final : ITypeLib {
    ULONG refs = 1;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void **object) override {
        if (object)
            *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override {
        return ++refs;
    }
    ULONG STDMETHODCALLTYPE Release() override {
        g_calls.push_back("Release");
        ULONG left = --refs;
        if (left == 0) {
            g_typeLibs.erase(this);
            delete this;
        }
        return left;
    }
};

} // namespace

HRESULT WINAPI LoadTypeLib(LPCOLESTR file, ITypeLib **typeLib) {
    std::string path = file ? Narrow(file) : "";
    g_calls.push_back("LoadTypeLib " + path);
    if (typeLib)
        *typeLib = nullptr;
    long error;
    if (ShouldFail("LoadTypeLib", path.c_str(), &error))
        return (HRESULT)error;
    if (!file || !typeLib)
        return E_INVALIDARG;
    if (!fakewin::FileExists(path.c_str()))
        return TYPE_E_CANTLOADLIBRARY;
    *typeLib = new FakeTypeLib;
    g_typeLibs.insert(*typeLib);
    return S_OK;
}

HRESULT WINAPI RegisterTypeLib(ITypeLib *typeLib, LPCOLESTR fullPath, LPCOLESTR helpDir) {
    std::string path = fullPath ? Narrow(fullPath) : "";
    std::string line = "RegisterTypeLib " + path;
    if (helpDir)
        line += " " + Narrow(helpDir);
    g_calls.push_back(line);
    long error;
    if (ShouldFail("RegisterTypeLib", path.c_str(), &error))
        return (HRESULT)error;
    if (!typeLib || !g_typeLibs.count(typeLib) || !fullPath) {
        ADD_FAILURE() << "fakewin: RegisterTypeLib without a loaded type library and its path";
        return E_INVALIDARG;
    }
    return S_OK;
}

HRESULT WINAPI UnRegisterTypeLib(REFGUID libId, WORD majorVersion, WORD minorVersion, LCID lcid,
                                 SYSKIND sysKind) {
    char guid[40];
    snprintf(guid, sizeof guid, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", libId.Data1,
             libId.Data2, libId.Data3, libId.Data4[0], libId.Data4[1], libId.Data4[2],
             libId.Data4[3], libId.Data4[4], libId.Data4[5], libId.Data4[6], libId.Data4[7]);
    char line[96];
    snprintf(line, sizeof line, "UnRegisterTypeLib %s %u.%u %u %d", guid, majorVersion,
             minorVersion, lcid, (int)sysKind);
    g_calls.push_back(line);
    long error;
    if (ShouldFail("UnRegisterTypeLib", guid, &error))
        return (HRESULT)error;
    return S_OK;
}

namespace fakewin {

const std::vector<std::string> &OleCalls() {
    return g_calls;
}

int TypeLibsOutstanding() {
    return (int)g_typeLibs.size();
}

namespace detail {

void ResetOle() {
    for (ITypeLib *lib : g_typeLibs)
        delete static_cast<FakeTypeLib *>(lib);
    g_typeLibs.clear();
    g_calls.clear();
}

} // namespace detail
} // namespace fakewin
