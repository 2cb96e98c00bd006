// The command line with arbitrary bytes, in a heap block of exactly its size,
// so AddressSanitizer stops a read past its end or a write past a field.
// Whatever the input, every field is a terminated text shorter than a path,
// with no quote left in it, and a line taken as well formed is one the
// program can act on.
#include <windows.h>
#include <stdint.h>
#include <string.h>
#include <vector>
#include "fuzz_check.h"
#include "../../src/shell/command_line.h"

static void CheckField(const char *field) {
    size_t length = strnlen(field, MAX_PATH);
    FUZZ_CHECK(length < MAX_PATH, "a field is not terminated within a path's size");
    FUZZ_CHECK(memchr(field, '"', length) == NULL, "a quote was kept in a field");
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::vector<char> text(data, data + size);
    text.push_back('\0');
    struct CommandLine parsed;
    int wellFormed = ParseCommandLine(text.data(), &parsed);
    CheckField(parsed.libraryPath);
    CheckField(parsed.copyFolder);
    CheckField(parsed.logFile);
    if (!wellFormed || parsed.help)
        return 0;
    bool registers = parsed.unattended && !parsed.reset;
    FUZZ_CHECK(registers == (parsed.libraryPath[0] != '\0'),
               "a register run without a library, or a library without one");
    FUZZ_CHECK(parsed.copyFolder[0] == '\0' || registers, "/copy accepted without a register run");
    FUZZ_CHECK(!parsed.reset || parsed.unattended, "/u accepted without /s");
    return 0;
}
