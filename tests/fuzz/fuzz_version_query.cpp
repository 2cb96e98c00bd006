// QueryLibraryVersion with an arbitrary path in a 260-byte heap block, and a
// component library that may be there or not, may lack its export, and may
// write any version text up to the whole 512-byte buffer, terminated or not.
//
// Input: library flags (bit 0 present in the path's folder, bit 1 with the
// version export), the version text (up to 512 bytes), the path (up to 259).
#include <windows.h>
#include <string>
#include <vector>
#include "fuzz_check.h"
#include "fuzz_input.h"
#include "program_state.h"
#include "../../src/install/version_query.h"

#define PATH_ERROR "ERRO AO GERAR A PATH DA DLL"
#define NOT_FOUND                                                                                  \
    "DLL Quorvalis.dll NAO ENCONTRADA no diretório \r\nPor isso, versão não será exibida na "  \
    "janela!!!"
#define NO_EXPORT "DLL INCONSISTENTE - FUNÇÃO Get_VersaoDLL() NÃO ENCONTRADA"

static std::string g_versionText;

// Writes the scripted bytes; a text of the buffer's whole size leaves no room
// for a terminator, and none is written.
static void WINAPI WriteVersion(char *buffer) {
    memcpy(buffer, g_versionText.data(), g_versionText.size());
    if (g_versionText.size() < COMPONENT_VERSION_SIZE)
        buffer[g_versionText.size()] = '\0';
}

static bool IsKnownFailure(const fakewin::MessageBoxRecord &box) {
    if (box.caption != COMPONENT_CAPTION || box.owner != NULL)
        return false;
    return (box.text == PATH_ERROR && box.flags == 0x40010) ||
           (box.text == NOT_FOUND && box.flags == 0x40040) ||
           (box.text == NO_EXPORT && box.flags == 0x40010);
}

static void Run(FuzzInput in) {
    int library = TakeByte(&in);
    g_versionText = TakeText(&in, COMPONENT_VERSION_SIZE);
    std::string path = TakeText(&in, MAX_PATH - 1);

    std::string libraryPath = SiblingPath(path, "Quorvalis.dll");
    if (library & 1) {
        std::vector<fakewin::Export> exports;
        if (library & 2)
            exports.push_back({"Get_VersaoDLL", (void *)WriteVersion});
        fakewin::AddModule(libraryPath.c_str(), exports);
    }
    PadMessageBoxAnswers(IDOK, 2);
    std::vector<char> buffer(MAX_PATH, '\0');
    memcpy(buffer.data(), path.c_str(), path.size());

    const char *version = QueryLibraryVersion(buffer.data());

    FUZZ_CHECK(IsTerminated(buffer.data(), buffer.size()), "the path is not terminated");
    std::string after = buffer.data();
    FUZZ_CHECK(after == path || after == libraryPath,
               "the path is neither unchanged nor the library's in its folder");
    FUZZ_CHECK(after == path || path.find('\\') != std::string::npos,
               "a path without a backslash was rewritten");
    bool formed = path.find('\\') != std::string::npos && libraryPath.size() < MAX_PATH;
    FUZZ_CHECK(!formed || after == libraryPath, "a library path that fits was not formed");
    FUZZ_CHECK((version != NULL) == (formed && (library & 3) == 3),
               "the outcome does not follow from the path and the library");
    FUZZ_CHECK(fakewin::ModuleLoadCount(libraryPath.c_str()) == 0, "the library stays loaded");
    CheckNothingLeftOpen();
    const std::vector<fakewin::MessageBoxRecord> &boxes = fakewin::MessageBoxes();
    if (version == NULL) {
        FUZZ_CHECK(g_libraryVersion[0] == '\0', "a failed query leaves a version text");
        FUZZ_CHECK(boxes.size() == 1 && IsKnownFailure(boxes[0]),
                   "a failed query without exactly one known box");
        return;
    }
    FUZZ_CHECK(version == g_libraryVersion, "the result is not the program's version buffer");
    FUZZ_CHECK(boxes.empty(), "a box on a successful query");
    FUZZ_CHECK(IsTerminated(g_libraryVersion, COMPONENT_VERSION_SIZE),
               "the version text is not terminated");
    FUZZ_CHECK(g_versionText.compare(0, COMPONENT_VERSION_SIZE - 1, g_libraryVersion) == 0,
               "the version text is not the library's");
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    ResetProgram();
    Run({data, size});
    EndRun();
    return 0;
}
