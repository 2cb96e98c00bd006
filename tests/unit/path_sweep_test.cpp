// Every path length a file dialog can return (0 to 259 characters), in each
// separator form, through the whole register request as the action loop runs
// it: selection, version query, registration. The request's 260-byte path
// buffer lies between guard bytes; every outcome must be one of the known
// results and message boxes.
#include "program_fixture.h"
#include "../../src/install/library_selection.h"
#include "../../src/install/version_query.h"
#include "../../src/registration/registration.h"
#include "../../src/companions/libraries.h"
#include "../../src/shell/installer.h"

#define GUARD_SIZE 16
#define NOT_RUN    12345

enum Form { FOLDER, NO_SEPARATOR, LEADING, TRAILING, COLON, SLASH, FORM_COUNT };
static const char *const FORM_NAMES[FORM_COUNT] = {"folder",   "no separator", "leading",
                                                   "trailing", "colon",        "slash"};

// A path of exactly `length` characters in the given form, ending in `name`
// when there is room; shorter ones are the start of the form's shortest path.
static std::string MakePath(Form form, int length, const std::string &name) {
    static const char *const BEFORE[FORM_COUNT] = {"D:\\", "", "\\", "D:\\", "", "D:/"};
    static const char *const BETWEEN[FORM_COUNT] = {"\\", "", "", "", ":", "/"};
    static const char *const AFTER[FORM_COUNT] = {"", "", "", "\\", "", ""};
    std::string shortest = std::string(BEFORE[form]) + BETWEEN[form] + name + AFTER[form];
    if (length <= (int)shortest.size())
        return shortest.substr(0, length);
    std::string fill(length - shortest.size(), 'x');
    return std::string(BEFORE[form]) + fill + BETWEEN[form] + name + AFTER[form];
}

// The path up to and including its last backslash, then fileName.
static std::string Sibling(const std::string &path, const char *fileName) {
    size_t slash = path.find_last_of('\\');
    return (slash == std::string::npos ? "" : path.substr(0, slash + 1)) + fileName;
}

static bool IsKnownBox(const std::string &text) {
    static const char *const EXACT[] = {
        "Deseja copiar a biblioteca para o diretório do aplicativo?",
        "REGISTRO DE   Quorvalis.dll   CANCELADO",
        "E R R O     NA   GRAVAÇÃO   DO  ARQUIVO Quorvalis.dll",
        "E R R O    NA GRAVAÇÃO DO ARQUIVO Quorvalis.tlb",
        "A biblioteca ZEPHOL.dll e suas dependèncias devem ser copiadas para a mesma pasta da lib "
        "Quorvalis.",
        "ERRO AO GERAR A PATH DA DLL",
        "DLL Quorvalis.dll NAO ENCONTRADA no diretório \r\nPor isso, versão não será exibida na "
        "janela!!!",
        "DLL INCONSISTENTE - FUNÇÃO Get_VersaoDLL() NÃO ENCONTRADA",
        "ERRO",
        "REGISTRADO Quorvalis.dll COM SUCESSO COMO UM   <C O M>  COMPONENTE.",
        "REGISTRO DE Quorvalis.dll FALHOU COMO UM  <C O M>  COMPONENTE.",
    };
    static const char *const PREFIX[] = {
        "E R R O   - ARQUIVO SELECIONADO  NAO E' \"Quorvalis.DLL\"       \n",
        "ARQUIVO       Quorvalis.dll      ENCONTRADO,  MAS\nTIPO DE BIBLIOTECA NÃO EXISTE:\n",
        "E R R O   - TENTANDO   COPIAR   PARA   O   MESMO   DIRETÓRIO     \n",
    };
    for (const char *exact : EXACT)
        if (text == exact)
            return true;
    for (const char *prefix : PREFIX)
        if (text.compare(0, strlen(prefix), prefix) == 0)
            return true;
    return false;
}

static void WINAPI WriteVersion(char *buffer) {
    strcpy(buffer, "1.2.3");
}

class PathSweep : public ProgramTest {
  protected:
    // The registrar's entries are resolved at start-up, before any request.
    void SetUp() override {
        ProgramTest::SetUp();
        g_pfnRegistrarRegister = FakeDllRegisterServer;
        g_pfnRegistrarUnregister = FakeDllUnregisterServer;
    }

    // The component library with its type library beside it, where a
    // Windows path of at most 259 characters can hold them.
    void AddLibrary(const std::string &path) {
        library = path;
        fakewin::AddFile(library.c_str(), "library");
        fakewin::AddModule(library.c_str(), {{"Get_VersaoDLL", (void *)WriteVersion}});
        std::string typeLib = Sibling(library, "Quorvalis.tlb");
        if (typeLib.size() < MAX_PATH)
            fakewin::AddFile(typeLib.c_str(), "type library");
    }

    // The register request of the action loop, on a guarded path buffer.
    void Request() {
        memset(&request, JUNK, sizeof request);
        for (int i = 0; i < 8; i++)
            fakewin::AnswerMessageBox(IDOK);
        selected = SelectAndInstallLibrary(request.path);
        version = selected ? QueryLibraryVersion(request.path) : nullptr;
        registered = selected ? RegisterComponent(request.path) : NOT_RUN;
    }

    void ExpectAllowedOutcome() {
        char guard[GUARD_SIZE];
        memset(guard, JUNK, sizeof guard);
        EXPECT_EQ(0, memcmp(guard, request.before, GUARD_SIZE)) << "written before the buffer";
        EXPECT_EQ(0, memcmp(guard, request.after, GUARD_SIZE)) << "written past the buffer";
        EXPECT_NE(nullptr, memchr(request.path, '\0', MAX_PATH)) << "path not terminated";
        EXPECT_TRUE(selected == 0 || selected == 1) << selected;
        if (!selected) {
            EXPECT_STREQ("", request.path);
        }
        EXPECT_TRUE(version == nullptr || version == g_libraryVersion);
        EXPECT_TRUE(registered == NOT_RUN || registered == 0 || registered == 1 || registered < 0)
            << registered;
        for (const fakewin::MessageBoxRecord &box : fakewin::MessageBoxes())
            EXPECT_TRUE(IsKnownBox(box.text)) << box.text;
        ExpectNoOpenHandles();
        EXPECT_EQ(0, fakewin::ModuleLoadCount(library.c_str())) << "library left loaded";
    }

    struct {
        char before[GUARD_SIZE];
        char path[MAX_PATH];
        char after[GUARD_SIZE];
    } request;
    std::string library;
    int selected;
    const char *version;
    LONG registered;
};

// The picked path itself: accepted exactly when its name part (after the
// last backslash or colon) is the library's, and then registered, with the
// version read wherever the path has a folder to look in.
TEST_F(PathSweep, PickedPathsOfEveryLengthAndForm) {
    const std::string name = "Quorvalis.dll";
    for (int form = 0; form < FORM_COUNT; form++) {
        for (int length = 0; length < MAX_PATH; length++) {
            std::string picked = MakePath((Form)form, length, name);
            SCOPED_TRACE(std::string(FORM_NAMES[form]) + " " + std::to_string(length));
            SetUp();
            AddLibrary(picked);
            fakewin::AnswerOpenDialog(picked.c_str());
            fakewin::AnswerMessageBox(IDNO); // no copy
            Request();
            ExpectAllowedOutcome();

            size_t split = picked.find_last_of("\\:");
            bool accepted = picked.substr(split == std::string::npos ? 0 : split + 1) == name;
            EXPECT_EQ(accepted ? 1 : 0, selected);
            if (accepted) {
                EXPECT_EQ(picked.find('\\') != std::string::npos, version != nullptr);
                EXPECT_EQ(0, registered);
                EXPECT_EQ(Sibling(picked, "Quorvalis.tlb"), request.path);
            }
        }
    }
}

// The copy's destination, with a file name shorter than the type library's:
// the derived paths grow, and one that no longer fits in 260 bytes is a
// failed type-library copy. Every copy that fits is registered at its folder.
TEST_F(PathSweep, CopyDestinationsOfEveryLengthAndForm) {
    for (int form = 0; form < FORM_COUNT; form++) {
        for (int length = 0; length < MAX_PATH; length++) {
            std::string destination = MakePath((Form)form, length, "o.dll");
            SCOPED_TRACE(std::string(FORM_NAMES[form]) + " " + std::to_string(length));
            SetUp();
            AddLibrary("D:\\Lib\\Quorvalis.dll");
            fakewin::AnswerOpenDialog("D:\\Lib\\Quorvalis.dll");
            fakewin::AnswerMessageBox(IDYES);
            fakewin::AnswerSaveDialog(destination.c_str());
            Request();
            ExpectAllowedOutcome();

            bool fits = Sibling(destination, "Quorvalis.tlb").size() < MAX_PATH;
            EXPECT_EQ(fits ? 1 : 0, selected);
            EXPECT_EQ(fits ? 0 : NOT_RUN, registered);
            if (!fits) {
                EXPECT_EQ("E R R O    NA GRAVAÇÃO DO ARQUIVO Quorvalis.tlb",
                          fakewin::MessageBoxes().back().text);
            }
            if (fits && destination.find('\\') != std::string::npos) {
                fakewin::RegValue server = fakewin::ReadValue(
                    "Software\\Classes\\CLSID\\" GUID_TEXT "\\InprocServer32", NULL);
                EXPECT_EQ(Sibling(destination, "Quorvalis.dll"), server.bytes.c_str());
            }
        }
    }
}
