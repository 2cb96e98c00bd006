// Reading the library's version: the path rewrite, the three failures, and
// the library never left loaded.
#include "program_fixture.h"
#include "../../src/install/version_query.h"

#define NOT_FOUND_TEXT                                                                             \
    "DLL Quorvalis.dll NAO ENCONTRADA no diretório \r\nPor isso, versão não será exibida na "  \
    "janela!!!"
#define PATH_ERROR_TEXT "ERRO AO GERAR A PATH DA DLL"
#define NO_EXPORT_TEXT  "DLL INCONSISTENTE - FUNÇÃO Get_VersaoDLL() NÃO ENCONTRADA"

static const char *g_versionToWrite;

static void WINAPI WriteVersion(char *buffer) {
    strcpy(buffer, g_versionToWrite);
}

static void WINAPI WriteUnterminated(char *buffer) {
    memset(buffer, 'v', COMPONENT_VERSION_SIZE);
}

class VersionQuery : public ProgramTest {
  protected:
    const char *Query(const char *path) {
        memset(buffer, 0xdd, sizeof buffer);
        strcpy(buffer, path);
        return QueryLibraryVersion(buffer);
    }
    void ExpectBox(const char *text, UINT flags) {
        ASSERT_EQ(1u, fakewin::MessageBoxes().size());
        EXPECT_EQ(text, fakewin::MessageBoxes()[0].text);
        EXPECT_EQ("Quorvalis comunica com o SAT VORAN", fakewin::MessageBoxes()[0].caption);
        EXPECT_EQ(flags, fakewin::MessageBoxes()[0].flags);
    }
    char buffer[MAX_PATH];
};

TEST_F(VersionQuery, ReadsTheVersionAndUnloadsTheLibrary) {
    g_versionToWrite = "1.2.3";
    fakewin::AddModule("D:\\Lib\\Quorvalis.dll", {{"Get_VersaoDLL", (void *)WriteVersion}});
    EXPECT_EQ(g_libraryVersion, Query("D:\\Lib\\Quorvalis.dll"));
    EXPECT_STREQ("1.2.3", g_libraryVersion);
    EXPECT_STREQ("D:\\Lib\\Quorvalis.dll", buffer);
    EXPECT_EQ(0, fakewin::ModuleLoadCount("D:\\Lib\\Quorvalis.dll"));
    EXPECT_TRUE(fakewin::MessageBoxes().empty());
    EXPECT_EQ(LOAD_WITH_ALTERED_SEARCH_PATH, fakewin::LoadExFlags("D:\\Lib\\Quorvalis.dll"))
        << "its dependencies beside it must be found whatever the current folder";
}

TEST_F(VersionQuery, LooksForTheLibraryByItsOwnNameAtTheLastBackslash) {
    g_versionToWrite = "";
    fakewin::AddModule("\\Quorvalis.dll", {{"Get_VersaoDLL", (void *)WriteVersion}});
    EXPECT_EQ(g_libraryVersion, Query("\\outro.dll"));
    EXPECT_STREQ("\\Quorvalis.dll", buffer);
    EXPECT_STREQ("", g_libraryVersion) << "an empty version is still a version";
}

TEST_F(VersionQuery, LibraryThatCannotBeLoaded) {
    fakewin::AnswerMessageBox(IDOK);
    EXPECT_EQ(nullptr, Query("E:\\App\\outro.dll"));
    EXPECT_STREQ("E:\\App\\Quorvalis.dll", buffer) << "registration then uses this path";
    ExpectBox(NOT_FOUND_TEXT, 0x40040);
}

TEST_F(VersionQuery, PathsWithoutAFolderOrTooLongAreRefusedUnchanged) {
    const std::string tooLong = "C:\\" + std::string(248, 'f') + "\\a.dll";
    const char *paths[] = {"Quorvalis.dll", "C:Quorvalis.dll", "", tooLong.c_str()};
    for (const char *path : paths) {
        SCOPED_TRACE(path);
        SetUp();
        fakewin::AnswerMessageBox(IDOK);
        EXPECT_EQ(nullptr, Query(path));
        EXPECT_STREQ(path, buffer);
        EXPECT_EQ((char)0xdd, buffer[MAX_PATH - 1]);
        EXPECT_EQ(0, fakewin::CallCount("LoadLibraryExA"));
        ExpectBox(PATH_ERROR_TEXT, 0x40010);
    }
}

TEST_F(VersionQuery, LibraryWithoutTheExportIsUnloadedAgain) {
    fakewin::AddModule("D:\\Lib\\Quorvalis.dll", {{"DllGetClassObject", (void *)WriteVersion}});
    fakewin::AnswerMessageBox(IDOK);
    EXPECT_EQ(nullptr, Query("D:\\Lib\\Quorvalis.dll"));
    ExpectBox(NO_EXPORT_TEXT, 0x40010);
    EXPECT_EQ(0, fakewin::ModuleLoadCount("D:\\Lib\\Quorvalis.dll"));
}

TEST_F(VersionQuery, EachQueryStartsFromAnEmptyVersion) {
    g_versionToWrite = "first";
    fakewin::AddModule("D:\\Lib\\Quorvalis.dll", {{"Get_VersaoDLL", (void *)WriteVersion}});
    Query("D:\\Lib\\Quorvalis.dll");
    fakewin::AnswerMessageBox(IDOK);
    EXPECT_EQ(nullptr, Query("E:\\Other\\Quorvalis.dll"));
    EXPECT_STREQ("", g_libraryVersion);
}

TEST_F(VersionQuery, UnterminatedVersionIsCutToItsBuffer) {
    fakewin::AddModule("D:\\Lib\\Quorvalis.dll", {{"Get_VersaoDLL", (void *)WriteUnterminated}});
    ASSERT_NE(nullptr, Query("D:\\Lib\\Quorvalis.dll"));
    EXPECT_EQ((size_t)COMPONENT_VERSION_SIZE - 1, strlen(g_libraryVersion));
}
