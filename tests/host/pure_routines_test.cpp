// The pure text routines: file names and folders of paths, and the command
// line, at their length limits, on buffers filled with junk so that a missing
// terminator or a write past the given size shows.
#include <gtest/gtest.h>
#include <string.h>
#include <string>
#include "../../src/install/path_utils.h"
#include "../../src/shell/command_line.h"

#define JUNK '\xcc'

TEST(PathSplit, SplitAtTheLastBackslashOrColonWithinTheBuffer) {
    const std::string n300(300, 'n'), d258(258, 'd'), d259(259, 'd');
    struct {
        std::string path;
        int size;
        std::string name, folder;
    } cases[] = {
        {"C:\\Lib\\Quorvalis.dll", 260, "Quorvalis.dll", "C:\\Lib"},
        {"C:Quorvalis.dll", 260, "Quorvalis.dll", "C"},
        {"\\Quorvalis.dll", 260, "Quorvalis.dll", ""},
        {"Quorvalis.dll", 260, "Quorvalis.dll", ""},
        {"C:\\Lib\\", 260, "", "C:\\Lib"},
        {"C:\\Lib/Quorvalis.dll", 260, "Lib/Quorvalis.dll", "C:"},
        {"", 260, "", ""},
        {"C:\\Lib\\Quorvalis.dll", 259, "", ""}, // below 260 bytes nothing is taken
        // Without a separator size - 2 characters are kept, after one size - 1.
        {n300.substr(0, 258), 260, n300.substr(0, 258), ""},
        {n300, 260, n300.substr(0, 258), ""},
        {n300.substr(0, 259), 512, n300.substr(0, 259), ""},
        {"C:\\" + n300, 260, n300.substr(0, 259), "C:"},
        {d258 + "\\x", 260, "x", d258},
        {d259 + "\\x", 260, "x", d258},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path + " in " + std::to_string(c.size));
        char name[513], folder[513];
        memset(name, JUNK, sizeof name);
        memset(folder, JUNK, sizeof folder);
        const char *gotName = ExtractFileName(name, c.size, c.path.c_str());
        const char *gotFolder = ExtractDirectory(folder, c.size, c.path.c_str());
        EXPECT_EQ(c.size >= PATH_OUTPUT_MIN, gotName == name && gotFolder == folder);
        EXPECT_EQ(c.name + " | " + c.folder, std::string(gotName) + " | " + gotFolder);
        EXPECT_EQ(c.name + " | " + c.folder, std::string(name) + " | " + folder);
        EXPECT_EQ(JUNK, name[c.size]);
        EXPECT_EQ(JUNK, folder[c.size]);
    }
}

TEST(ReplaceFileName, OnlyTheBackslashSeparatesAndTheResultMustFit) {
    const std::string folder = "C:\\" + std::string(242, 'f'); // 245 bytes
    struct {
        std::string path;
        int size, result;
        std::string expected;
    } cases[] = {
        {"D:\\Lib\\Quorvalis.dll", 260, 1, "D:\\Lib\\Quorvalis.tlb"},
        {"C:Quorvalis.dll", 260, 1, "Quorvalis.tlb"},
        {"E:\\App\\", 260, 1, "E:\\App\\Quorvalis.tlb"},
        {folder + "\\a.dll", 260, 1, folder + "\\Quorvalis.tlb"}, // 259 characters: exactly fits
        {folder + "f\\a.dll", 260, 0, folder + "f\\a.dll"},       // one too many: left unchanged
        {"a\\b", 16, 1, "a\\Quorvalis.tlb"},
        {"ab\\b", 16, 0, "ab\\b"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path + " in " + std::to_string(c.size));
        char path[MAX_PATH + 1];
        memset(path, JUNK, sizeof path);
        strcpy(path, c.path.c_str());
        EXPECT_EQ(c.result, ReplaceFileName(path, c.size, "Quorvalis.tlb"));
        EXPECT_EQ(c.expected, path);
        EXPECT_EQ(JUNK, path[c.size]);
    }
}

TEST(CommandLine, SwitchesPathsAndRefusals) {
    const std::string longest = "C:\\" + std::string(250, 'p') + "\\a.dll"; // 259 bytes
    const std::string tooLong = "C:\\" + std::string(251, 'p') + "\\a.dll";
    struct {
        std::string text;
        int ok, unattended, reset, help;
        const char *path, *copy, *log;
    } cases[] = {
        {"", 1, 0, 0, 0, "", "", ""},
        {"  /log \"C:\\Automação Comercial\\qv.log\" ", 1, 0, 0, 0, "", "",
         "C:\\Automação Comercial\\qv.log"},
        {"/s C:\\Lib\\Quorvalis.dll", 1, 1, 0, 0, "C:\\Lib\\Quorvalis.dll", "", ""},
        {"/S \"C:\\Users\\João\\Quorvalis.dll\" /COPY \"C:\\destino\\\" /Log x.txt", 1, 1, 0, 0,
         "C:\\Users\\João\\Quorvalis.dll", "C:\\destino\\", "x.txt"},
        {"-s\tC:\\\"Automação Comercial\"\\Quorvalis.dll", 1, 1, 0, 0,
         "C:\\Automação Comercial\\Quorvalis.dll", "", ""},
        {"/u /s /log l", 1, 1, 1, 0, "", "", "l"},
        {"/s " + longest, 1, 1, 0, 0, longest.c_str(), "", ""},
        {"/s \"" + longest + "\"", 1, 1, 0, 0, longest.c_str(), "", ""},
        {"/?", 1, 0, 0, 1, "", "", ""},
        // Refused; the switches seen are still recorded.
        {"/s /?", 0, 1, 0, 1, "", "", ""},
        {"/x", 0, 0, 0, 0, "", "", ""},
        {"C:\\Lib\\Quorvalis.dll", 0, 0, 0, 0, "C:\\Lib\\Quorvalis.dll", "", ""},
        {"/s", 0, 1, 0, 0, "", "", ""},
        {"/s \"\"", 0, 1, 0, 0, "", "", ""},
        {"/s a.dll b.dll", 0, 1, 0, 0, "a.dll", "", ""},
        {"/s \"C:\\Lib\\Quorvalis.dll", 0, 1, 0, 0, "C:\\Lib\\Quorvalis.dll", "", ""},
        {"/s " + tooLong, 0, 1, 0, 0, "", "", ""},
        {"/s a.dll /log " + tooLong, 0, 1, 0, 0, "a.dll", "", ""},
        {"/copy C:\\d", 0, 0, 0, 0, "", "C:\\d", ""},
        {"/u", 0, 0, 1, 0, "", "", ""},
        {"/u /s a.dll", 0, 1, 1, 0, "a.dll", "", ""},
        {"/u /s /copy C:\\d", 0, 1, 1, 0, "", "C:\\d", ""},
        {"/s a.dll /copy", 0, 1, 0, 0, "a.dll", "", ""},
        {"/s a.dll /log x /log y", 0, 1, 0, 0, "a.dll", "", "x"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        struct CommandLine parsed;
        memset(&parsed, JUNK, sizeof parsed);
        EXPECT_EQ(c.ok, ParseCommandLine(c.text.c_str(), &parsed));
        EXPECT_EQ(c.unattended, parsed.unattended) << "decides whether a usage box is shown";
        EXPECT_EQ(c.reset, parsed.reset);
        EXPECT_EQ(c.help, parsed.help);
        EXPECT_STREQ(c.path, parsed.libraryPath);
        EXPECT_STREQ(c.copy, parsed.copyFolder);
        EXPECT_STREQ(c.log, parsed.logFile);
    }
}
