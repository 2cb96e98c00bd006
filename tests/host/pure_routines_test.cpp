// The pure text routines: file names and folders of paths, and the command
// line, at their length limits, on buffers filled with junk so that a missing
// terminator or a write past the given size shows.
#include <gtest/gtest.h>
#include <string.h>
#include <string>
#include "../../src/install/path_utils.h"
#include "../../src/shell/command_line.h"

#define JUNK '\xcc'

// "name | folder" as written into buffers of size bytes.
static std::string Split(const std::string &path, int size) {
    char name[513], folder[513];
    memset(name, JUNK, sizeof name);
    memset(folder, JUNK, sizeof folder);
    ExtractFileName(name, size, path.c_str());
    ExtractDirectory(folder, size, path.c_str());
    return std::string(name) + " | " + folder +
           (name[size] != JUNK || folder[size] != JUNK ? " and past the end" : "");
}

TEST(PathSplit, AtTheLastBackslashOrColonWithinTheBuffer) {
    const std::string n300(300, 'n'), d258(258, 'd');
    EXPECT_EQ("Quorvalis.dll | C:\\Lib", Split("C:\\Lib\\Quorvalis.dll", 260));
    EXPECT_EQ("Quorvalis.dll | C", Split("C:Quorvalis.dll", 260));
    EXPECT_EQ("Quorvalis.dll | ", Split("\\Quorvalis.dll", 260));
    EXPECT_EQ(" | C:\\Lib", Split("C:\\Lib\\", 260));
    EXPECT_EQ("Lib/Quorvalis.dll | C:", Split("C:\\Lib/Quorvalis.dll", 260));
    EXPECT_EQ(" | ", Split("C:\\Lib\\Quorvalis.dll", 259)); // below 260 bytes nothing is taken
    // Without a separator size - 2 characters are kept, after one size - 1.
    EXPECT_EQ(n300.substr(0, 258) + " | ", Split(n300, 260));
    EXPECT_EQ(n300.substr(0, 259) + " | ", Split(n300.substr(0, 259), 512));
    EXPECT_EQ(n300.substr(0, 259) + " | C:", Split("C:\\" + n300, 260));
    EXPECT_EQ("x | " + d258, Split(d258 + "\\x", 260));
    EXPECT_EQ("x | " + d258, Split(d258 + "d\\x", 260));
}

// ReplaceFileName's result and the path, in a buffer of size bytes.
static std::string Replaced(const char *path, int size) {
    char buffer[MAX_PATH + 1];
    memset(buffer, JUNK, sizeof buffer);
    strcpy(buffer, path);
    int result = ReplaceFileName(buffer, size, "Quorvalis.tlb");
    return std::to_string(result) + " " + buffer +
           (buffer[size] != JUNK ? " and past the end" : "");
}

TEST(ReplaceFileName, OnlyTheBackslashSeparatesAndTheResultMustFit) {
    EXPECT_EQ("1 D:\\Lib\\Quorvalis.tlb", Replaced("D:\\Lib\\Quorvalis.dll", 260));
    EXPECT_EQ("1 Quorvalis.tlb", Replaced("C:Quorvalis.dll", 260));
    EXPECT_EQ("1 a\\Quorvalis.tlb", Replaced("a\\b", 16)); // exactly fits
    EXPECT_EQ("0 ab\\b", Replaced("ab\\b", 16));           // one too many: left unchanged
}

// "ok" or "refused", the switches seen, then path|copy|log: what the program
// acts on, refused lines included (an unattended line never shows a box).
static std::string Parsed(const std::string &text) {
    struct CommandLine p;
    memset(&p, JUNK, sizeof p);
    std::string ok = ParseCommandLine(text.c_str(), &p) ? "ok" : "refused";
    return ok + (p.unattended ? " /s" : "") + (p.reset ? " /u" : "") + (p.help ? " /?" : "") + " " +
           p.libraryPath + "|" + p.copyFolder + "|" + p.logFile;
}

TEST(CommandLine, SwitchesPathsAndRefusals) {
    const std::string longest = "C:\\" + std::string(250, 'p') + "\\a.dll"; // 259 bytes
    const std::string tooLong = "C:\\" + std::string(251, 'p') + "\\a.dll";
    EXPECT_EQ("ok ||", Parsed(""));
    EXPECT_EQ("ok /? ||", Parsed("/?"));
    EXPECT_EQ("ok ||C:\\A Ç\\qv.log", Parsed("  /log \"C:\\A Ç\\qv.log\"\t"));
    EXPECT_EQ("ok /s C:\\q.dll|C:\\d\\|x.txt", Parsed("/S C:\\q.dll /COPY \"C:\\d\\\" /Log x.txt"));
    EXPECT_EQ("ok /s C:\\A Ç\\q.dll||", Parsed("-s\tC:\\\"A Ç\"\\q.dll"));
    EXPECT_EQ("ok /s /u ||l", Parsed("/u /s /log l"));
    EXPECT_EQ("ok /s " + longest + "||", Parsed("/s " + longest));
    EXPECT_EQ("ok /s " + longest + "||", Parsed("/s \"" + longest + "\""));
    EXPECT_EQ("refused /s ||", Parsed("/s " + tooLong));
    EXPECT_EQ("refused /s C:\\Lib\\Quorvalis.dll||", Parsed("/s \"C:\\Lib\\Quorvalis.dll"));
    EXPECT_EQ("refused /s a.dll||", Parsed("/s a.dll b.dll"));
    EXPECT_EQ("refused /s a.dll||", Parsed("/s a.dll /copy"));
    EXPECT_EQ("refused /s a.dll||x", Parsed("/s a.dll /log x /log y"));
    EXPECT_EQ("refused C:\\Lib\\Quorvalis.dll||", Parsed("C:\\Lib\\Quorvalis.dll"));
    EXPECT_EQ("refused |C:\\d|", Parsed("/copy C:\\d"));
    EXPECT_EQ("refused /u ||", Parsed("/u"));
    EXPECT_EQ("refused /s /u a.dll||", Parsed("/u /s a.dll"));
    EXPECT_EQ("refused /s /u |C:\\d|", Parsed("/u /s /copy C:\\d"));
}
