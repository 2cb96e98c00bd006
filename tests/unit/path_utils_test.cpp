// File-name and folder parts of paths, and the buffer-size rules.
#include <windows.h>
#include <gtest/gtest.h>
#include <string.h>
#include <string>
#include "../../src/install/path_utils.h"

TEST(PathParts, SplitAtTheLastBackslashOrColon) {
    struct {
        const char *path, *name, *folder;
    } cases[] = {
        {"C:\\Lib\\Quorvalis.dll", "Quorvalis.dll", "C:\\Lib"},
        {"C:\\Quorvalis.dll", "Quorvalis.dll", "C:"},
        {"C:Quorvalis.dll", "Quorvalis.dll", "C"},
        {"\\Quorvalis.dll", "Quorvalis.dll", ""},
        {"Quorvalis.dll", "Quorvalis.dll", ""},
        {"C:\\Lib\\", "", "C:\\Lib"},
        {"C:\\Lib/Quorvalis.dll", "Lib/Quorvalis.dll", "C:"},
        {"", "", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path);
        char name[260], folder[260];
        memset(name, 0xdd, sizeof name);
        memset(folder, 0xdd, sizeof folder);
        EXPECT_EQ(name, ExtractFileName(name, sizeof name, c.path));
        EXPECT_STREQ(c.name, name);
        EXPECT_EQ(folder, ExtractDirectory(folder, sizeof folder, c.path));
        EXPECT_STREQ(c.folder, folder);
    }
}

TEST(PathParts, BuffersBelow260BytesAreRefusedWithTheSharedEmptyText) {
    char name[259], folder[259];
    memset(name, 0xdd, sizeof name);
    memset(folder, 0xdd, sizeof folder);
    const char *namePart = ExtractFileName(name, sizeof name, "C:\\Lib\\Quorvalis.dll");
    const char *folderPart = ExtractDirectory(folder, sizeof folder, "C:\\Lib\\Quorvalis.dll");
    EXPECT_NE(name, namePart);
    EXPECT_NE(folder, folderPart);
    EXPECT_STREQ("", namePart);
    EXPECT_EQ(namePart, folderPart) << "both refusals share one empty text";
    EXPECT_STREQ("", name);
    EXPECT_STREQ("", folder);
}

TEST(PathParts, LongNamesAreCutToTheBuffer) {
    const std::string longName(300, 'n');
    const std::string afterSeparator = "C:\\" + longName;
    char name[512];
    memset(name, 0xdd, sizeof name);
    // 259 characters without a separator fit a 512-byte buffer whole.
    ExtractFileName(name, sizeof name, longName.substr(0, 259).c_str());
    EXPECT_EQ(longName.substr(0, 259), name);

    char small[260];
    memset(small, 0xdd, sizeof small);
    ExtractFileName(small, sizeof small, longName.c_str());
    EXPECT_EQ(258u, strlen(small)) << "without a separator: size - 2 characters";
    memset(small, 0xdd, sizeof small);
    ExtractFileName(small, sizeof small, afterSeparator.c_str());
    EXPECT_EQ(259u, strlen(small)) << "after a separator: size - 1 characters";

    const std::string longFolder = std::string(300, 'd') + "\\x";
    memset(small, 0xdd, sizeof small);
    ExtractDirectory(small, sizeof small, longFolder.c_str());
    EXPECT_EQ(258u, strlen(small));
}

TEST(ReplaceFileName, OnlyTheBackslashSeparatesAndNothingOverflows) {
    struct {
        const char *path, *expected;
        int result;
    } cases[] = {
        {"D:\\Lib\\Quorvalis.dll", "D:\\Lib\\Quorvalis.tlb", 1},
        {"Quorvalis.dll", "Quorvalis.tlb", 1},
        {"C:Quorvalis.dll", "Quorvalis.tlb", 1},
        {"\\x", "\\Quorvalis.tlb", 1},
        {"E:\\App\\", "E:\\App\\Quorvalis.tlb", 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path);
        char path[MAX_PATH];
        strcpy(path, c.path);
        EXPECT_EQ(c.result, ReplaceFileName(path, MAX_PATH, "Quorvalis.tlb"));
        EXPECT_STREQ(c.expected, path);
    }
}

TEST(ReplaceFileName, RefusesAPathThatWouldNotFit) {
    // 246 + 13 characters need exactly 260 bytes; one more character does not fit.
    char fits[MAX_PATH + 1];
    std::string folder = "C:\\" + std::string(242, 'f') + "\\";
    ASSERT_EQ(246u, folder.size());
    strcpy(fits, (folder + "a.dll").c_str());
    EXPECT_EQ(1, ReplaceFileName(fits, MAX_PATH, "Quorvalis.tlb"));
    EXPECT_EQ(259u, strlen(fits));

    char tooLong[MAX_PATH + 1];
    memset(tooLong, 0xdd, sizeof tooLong);
    const std::string original = folder + "f\\a.dll";
    strcpy(tooLong, original.c_str());
    EXPECT_EQ(0, ReplaceFileName(tooLong, MAX_PATH, "Quorvalis.tlb"));
    EXPECT_EQ(original, tooLong) << "a refused path is left unchanged";
    EXPECT_EQ((char)0xdd, tooLong[MAX_PATH]);
}
