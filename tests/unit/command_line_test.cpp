// Splitting and checking the program's arguments.
#include <gtest/gtest.h>
#include <string>
#include "../../src/shell/command_line.h"

TEST(CommandLineParsing, WellFormedAndMalformedLines) {
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
        {"/?", 1, 0, 0, 1, "", "", ""},
        {"/s /?", 0, 1, 0, 1, "", "", ""},
        // malformed
        {"/x", 0, 0, 0, 0, "", "", ""},
        {"C:\\Lib\\Quorvalis.dll", 0, 0, 0, 0, "C:\\Lib\\Quorvalis.dll", "", ""},
        {"/s", 0, 1, 0, 0, "", "", ""},
        {"/s \"\"", 0, 1, 0, 0, "", "", ""},
        {"/s a.dll b.dll", 0, 1, 0, 0, "a.dll", "", ""},
        {"/s \"C:\\Lib\\Quorvalis.dll", 0, 1, 0, 0, "C:\\Lib\\Quorvalis.dll", "", ""},
        {"/s " + tooLong, 0, 1, 0, 0, "", "", ""},
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
        memset(&parsed, 0x5a, sizeof parsed); // junk shows a field left unset
        EXPECT_EQ(c.ok, ParseCommandLine(c.text.c_str(), &parsed));
        EXPECT_EQ(c.unattended, parsed.unattended) << "decides whether a usage box is shown";
        EXPECT_EQ(c.reset, parsed.reset);
        EXPECT_EQ(c.help, parsed.help);
        EXPECT_STREQ(c.path, parsed.libraryPath);
        EXPECT_STREQ(c.copy, parsed.copyFolder);
        EXPECT_STREQ(c.log, parsed.logFile);
    }
}
