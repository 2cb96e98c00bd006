// The registry under HKEY_LOCAL_MACHINE: keys named case-insensitively but
// kept as first spelled, byte-exact values, counted handles and the access
// checks the program's masks must pass.
#include <windows.h>
#include <map>
#include "fakewin_internal.h"

using fakewin::RegValue;
using fakewin::detail::Folded;
using fakewin::detail::ShouldFail;

namespace {

struct Key {
    std::string path;                       // from HKLM, as first spelled; "" is HKLM itself
    std::string name;                       // last part of path
    std::map<std::string, RegValue> values; // by folded name
    long id;                                // a recreated key is a new key
};

struct OpenKey {
    std::string path; // folded
    long id;
    REGSAM access;
};

std::map<std::string, Key> g_keys; // by folded path
std::map<HKEY, OpenKey> g_handles;
std::map<std::string, DWORD> g_masks; // latest access mask by folded path
long g_nextId;
uintptr_t g_nextHandle;

// The key a handle stands for, with the access it was opened with.
LONG Resolve(HKEY handle, Key **key, REGSAM *access) {
    if (handle == HKEY_LOCAL_MACHINE) {
        *key = &g_keys[""];
        *access = KEY_ALL_ACCESS;
        return ERROR_SUCCESS;
    }
    auto h = g_handles.find(handle);
    if (h == g_handles.end())
        return (uintptr_t)handle >= 0x80000000u ? ERROR_FILE_NOT_FOUND : ERROR_INVALID_HANDLE;
    auto k = g_keys.find(h->second.path);
    if (k == g_keys.end() || k->second.id != h->second.id)
        return ERROR_KEY_DELETED;
    *key = &k->second;
    *access = h->second.access;
    return ERROR_SUCCESS;
}

// Full path of a subkey; null or "" names the key itself.
LONG Join(const Key &parent, const char *subKey, std::string *path) {
    std::string sub = subKey ? subKey : "";
    if (!sub.empty() && sub.back() == '\\')
        sub.pop_back();
    if ((!sub.empty() && sub[0] == '\\') || sub.find("\\\\") != std::string::npos)
        return ERROR_BAD_PATHNAME;
    *path = parent.path.empty() || sub.empty() ? parent.path + sub : parent.path + "\\" + sub;
    return ERROR_SUCCESS;
}

Key *Find(const std::string &path) {
    auto k = g_keys.find(Folded(path.c_str()));
    return k == g_keys.end() ? nullptr : &k->second;
}

// Creates the key and any missing parents; tells whether the key is new.
bool Ensure(const std::string &path) {
    bool created = false;
    for (size_t end = 0; end != std::string::npos;) {
        end = path.find('\\', end + 1);
        std::string prefix = path.substr(0, end);
        Key &key = g_keys[Folded(prefix.c_str())];
        created = key.id == 0;
        if (created) {
            key.path = prefix;
            key.name = prefix.substr(prefix.rfind('\\') + 1);
            key.id = ++g_nextId;
        }
    }
    return created;
}

bool HasSubkeys(const Key &key) {
    std::string prefix = Folded(key.path.c_str()) + "\\";
    auto next = g_keys.upper_bound(prefix);
    return next != g_keys.end() && next->first.compare(0, prefix.size(), prefix) == 0;
}

HKEY NewHandle(const Key &key, REGSAM access) {
    HKEY handle = (HKEY)(0x100000 + 4 * ++g_nextHandle);
    g_handles[handle] = {Folded(key.path.c_str()), key.id, access};
    return handle;
}

// Shared start of open and create: resolves the path, records the mask,
// consults the faults.
LONG StartOpen(const char *function, HKEY parent, const char *subKey, REGSAM access, PHKEY result,
               Key **parentKey, std::string *path) {
    if (result)
        *result = nullptr;
    REGSAM parentAccess;
    LONG r = Resolve(parent, parentKey, &parentAccess);
    if (r == ERROR_SUCCESS)
        r = Join(**parentKey, subKey, path);
    if (r == ERROR_SUCCESS)
        g_masks[Folded(path->c_str())] = access;
    long error;
    if (ShouldFail(function, r == ERROR_SUCCESS ? path->c_str() : nullptr, &error))
        return error;
    if (r == ERROR_SUCCESS && !result)
        r = ERROR_INVALID_PARAMETER;
    return r;
}

} // namespace

LONG WINAPI RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD, REGSAM access, PHKEY result) {
    Key *parent;
    std::string path;
    LONG r = StartOpen("RegOpenKeyExA", key, subKey, access, result, &parent, &path);
    if (r != ERROR_SUCCESS)
        return r;
    Key *found = Find(path);
    if (!found)
        return ERROR_FILE_NOT_FOUND;
    *result = NewHandle(*found, access);
    return ERROR_SUCCESS;
}

LONG WINAPI RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD, LPSTR, DWORD, REGSAM access,
                            LPSECURITY_ATTRIBUTES, PHKEY result, LPDWORD disposition) {
    Key *parent;
    std::string path;
    LONG r = StartOpen("RegCreateKeyExA", key, subKey, access, result, &parent, &path);
    if (r != ERROR_SUCCESS)
        return r;
    bool created = !Find(path);
    if (created) {
        REGSAM parentAccess;
        Resolve(key, &parent, &parentAccess);
        if (!(parentAccess & KEY_CREATE_SUB_KEY))
            return ERROR_ACCESS_DENIED;
        Ensure(path);
    }
    if (disposition)
        *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    *result = NewHandle(*Find(path), access);
    return ERROR_SUCCESS;
}

LONG WINAPI RegSetValueExA(HKEY key, LPCSTR valueName, DWORD, DWORD type, const BYTE *data,
                           DWORD dataBytes) {
    Key *found;
    REGSAM access;
    LONG r = Resolve(key, &found, &access);
    long error;
    if (ShouldFail("RegSetValueExA", r == ERROR_SUCCESS ? found->path.c_str() : nullptr, &error))
        return error;
    if (r != ERROR_SUCCESS)
        return r;
    if (!(access & KEY_SET_VALUE))
        return ERROR_ACCESS_DENIED;
    if (!data && dataBytes)
        return ERROR_INVALID_PARAMETER;
    found->values[Folded(valueName)] = {true, type, std::string((const char *)data, dataBytes)};
    return ERROR_SUCCESS;
}

LONG WINAPI RegDeleteKeyA(HKEY key, LPCSTR subKey) {
    Key *parent;
    REGSAM access;
    std::string path;
    LONG r = Resolve(key, &parent, &access);
    if (r == ERROR_SUCCESS)
        r = Join(*parent, subKey, &path);
    long error;
    if (ShouldFail("RegDeleteKeyA", r == ERROR_SUCCESS ? path.c_str() : nullptr, &error))
        return error;
    if (r != ERROR_SUCCESS)
        return r;
    Key *found = Find(path);
    if (!found)
        return ERROR_FILE_NOT_FOUND;
    if (found->path.empty() || HasSubkeys(*found))
        return ERROR_ACCESS_DENIED;
    g_keys.erase(Folded(path.c_str()));
    return ERROR_SUCCESS;
}

LONG WINAPI RegCloseKey(HKEY key) {
    auto h = g_handles.find(key);
    long error;
    if (ShouldFail("RegCloseKey", h == g_handles.end() ? nullptr : h->second.path.c_str(), &error))
        return error;
    if ((uintptr_t)key >= 0x80000000u)
        return ERROR_SUCCESS; // the predefined roots are never closed
    if (h == g_handles.end())
        return ERROR_INVALID_HANDLE;
    g_handles.erase(h);
    return ERROR_SUCCESS;
}

namespace fakewin {

void SeedKey(const char *path) {
    Ensure(path);
}

void SeedString(const char *path, const char *valueName, const char *data) {
    Ensure(path);
    Find(path)->values[Folded(valueName)] = {true, REG_SZ, std::string(data, strlen(data) + 1)};
}

bool KeyExists(const char *path) {
    return Find(path) != nullptr;
}

RegValue ReadValue(const char *path, const char *valueName) {
    Key *key = Find(path);
    if (!key || !key->values.count(Folded(valueName)))
        return {false, REG_NONE, ""};
    return key->values[Folded(valueName)];
}

std::vector<std::string> Subkeys(const char *path) {
    std::vector<std::string> names;
    std::string prefix = Folded(path);
    if (!prefix.empty())
        prefix += "\\";
    for (const auto &k : g_keys)
        if (!k.first.empty() && k.first.compare(0, prefix.size(), prefix) == 0 &&
            k.first.find('\\', prefix.size()) == std::string::npos)
            names.push_back(k.second.name);
    return names;
}

int OpenKeyHandles() {
    return (int)g_handles.size();
}

DWORD LastAccessMask(const char *path) {
    auto m = g_masks.find(Folded(path));
    return m == g_masks.end() ? 0 : m->second;
}

namespace detail {

void ResetRegistry() {
    g_keys.clear();
    g_handles.clear();
    g_masks.clear();
    g_nextId = 0;
    g_nextHandle = 0;
    Ensure("");
    Ensure("Software\\Classes\\CLSID");
}

} // namespace detail
} // namespace fakewin
