// The operator's side of message boxes and the open and save dialogs:
// scripted answers, and a record of what each call showed.
#include <windows.h>
#include <gtest/gtest.h>
#include <deque>
#include "fakewin_internal.h"

using fakewin::FileDialogRecord;
using fakewin::MessageBoxRecord;

namespace {

struct BoxAnswer {
    int answer;
    std::function<void()> during;
};

struct FileAnswer {
    bool confirmed;
    std::string path;
};

std::deque<BoxAnswer> g_boxAnswers;
std::vector<MessageBoxRecord> g_boxes;
std::deque<FileAnswer> g_openAnswers;
std::deque<FileAnswer> g_saveAnswers;
std::vector<FileDialogRecord> g_fileDialogs;

// The filter list up to and including its closing double NUL.
std::string FilterBytes(const char *filter) {
    if (!filter)
        return "";
    const char *p = filter;
    while (*p)
        p += strlen(p) + 1;
    return std::string(filter, p - filter + 1);
}

BOOL FileDialog(bool save, LPOPENFILENAMEA ofn) {
    const char *function = save ? "GetSaveFileNameA" : "GetOpenFileNameA";
    long error;
    if (fakewin::detail::ShouldFail(function, nullptr, &error))
        return FALSE;
    if (!ofn || (ofn->lStructSize != OPENFILENAME_SIZE_VERSION_400A &&
                 ofn->lStructSize != sizeof(OPENFILENAMEA))) {
        ADD_FAILURE() << "fakewin: " << function << " with a bad record size";
        return FALSE;
    }
    FileDialogRecord r;
    r.save = save;
    r.structSize = ofn->lStructSize;
    r.owner = ofn->hwndOwner;
    r.instance = ofn->hInstance;
    r.filter = FilterBytes(ofn->lpstrFilter);
    r.customFilter = ofn->lpstrCustomFilter != nullptr;
    r.filterIndex = ofn->nFilterIndex;
    r.initialFile =
        ofn->lpstrFile ? std::string(ofn->lpstrFile, strnlen(ofn->lpstrFile, ofn->nMaxFile)) : "";
    r.maxFile = ofn->nMaxFile;
    r.fileTitle = ofn->lpstrFileTitle != nullptr;
    r.initialDir = ofn->lpstrInitialDir != nullptr;
    r.title = ofn->lpstrTitle ? ofn->lpstrTitle : "";
    r.flags = ofn->Flags;
    r.defExt = ofn->lpstrDefExt != nullptr;
    r.hook = ofn->lpfnHook != nullptr;
    g_fileDialogs.push_back(r);

    std::deque<FileAnswer> &answers = save ? g_saveAnswers : g_openAnswers;
    if (answers.empty()) {
        ADD_FAILURE() << "fakewin: unscripted " << function;
        return FALSE;
    }
    FileAnswer answer = answers.front();
    answers.pop_front();
    fakewin::detail::RunModalLoop();
    if (!answer.confirmed)
        return FALSE;
    size_t length = answer.path.size();
    if (!ofn->lpstrFile || length + 1 > ofn->nMaxFile) {
        // Like the real dialog: the first two bytes get the size it needed.
        if (ofn->lpstrFile && ofn->nMaxFile >= 2) {
            WORD needed = (WORD)(length + 1);
            memcpy(ofn->lpstrFile, &needed, sizeof needed);
        }
        return FALSE;
    }
    memcpy(ofn->lpstrFile, answer.path.c_str(), length + 1);
    size_t slash = answer.path.find_last_of('\\');
    size_t name = slash == std::string::npos ? 0 : slash + 1;
    size_t dot = answer.path.find_last_of('.');
    ofn->nFileOffset = (WORD)name;
    ofn->nFileExtension = (WORD)(dot == std::string::npos || dot < name ? length : dot + 1);
    if (ofn->lpstrFileTitle && ofn->nMaxFileTitle > 0)
        lstrcpynA(ofn->lpstrFileTitle, ofn->lpstrFile + name, (int)ofn->nMaxFileTitle);
    return TRUE;
}

} // namespace

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    long error;
    if (fakewin::detail::ShouldFail("MessageBoxA", nullptr, &error)) {
        SetLastError(error);
        return 0;
    }
    g_boxes.push_back({owner, text ? text : "", caption ? caption : "Error", type});
    if (g_boxAnswers.empty()) {
        ADD_FAILURE() << "fakewin: unscripted message box \"" << (text ? text : "") << "\"";
        return IDCANCEL;
    }
    BoxAnswer answer = std::move(g_boxAnswers.front());
    g_boxAnswers.pop_front();
    if (answer.during)
        answer.during();
    // The box's own message loop serves the program's windows meanwhile.
    fakewin::detail::RunModalLoop();
    return answer.answer;
}

BOOL WINAPI GetOpenFileNameA(LPOPENFILENAMEA record) {
    return FileDialog(false, record);
}

BOOL WINAPI GetSaveFileNameA(LPOPENFILENAMEA record) {
    return FileDialog(true, record);
}

namespace fakewin {

void AnswerMessageBox(int answer, std::function<void()> during) {
    g_boxAnswers.push_back({answer, during});
}

const std::vector<MessageBoxRecord> &MessageBoxes() {
    return g_boxes;
}

void AnswerOpenDialog(const char *path) {
    g_openAnswers.push_back({path != nullptr, path ? path : ""});
}

void AnswerSaveDialog(const char *path) {
    g_saveAnswers.push_back({path != nullptr, path ? path : ""});
}

const std::vector<FileDialogRecord> &FileDialogs() {
    return g_fileDialogs;
}

namespace detail {

void ResetDialogs() {
    g_boxAnswers.clear();
    g_boxes.clear();
    g_openAnswers.clear();
    g_saveAnswers.clear();
    g_fileDialogs.clear();
}

} // namespace detail
} // namespace fakewin
