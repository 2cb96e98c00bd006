// The command line with arbitrary bytes, in a heap block of exactly its size,
// so AddressSanitizer stops a read past its end or a write past a field.
// Whatever the input, every field is a terminated text shorter than a path,
// with no quote left in it, and a line taken as well formed is one the
// program can act on.
#undef NDEBUG
#include <assert.h>
#include <stdint.h>
#include <string.h>
#include <vector>
#include "../../src/shell/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::vector<char> text(size + 1);
    memcpy(text.data(), data, size);
    struct CommandLine parsed;
    memset(&parsed, 0xcc, sizeof parsed);
    int wellFormed = ParseCommandLine(text.data(), &parsed);
    for (const char *field : {parsed.libraryPath, parsed.copyFolder, parsed.logFile})
        assert(strnlen(field, MAX_PATH) < MAX_PATH && strchr(field, '"') == NULL);
    if (!wellFormed || parsed.help)
        return 0;
    bool registers = parsed.unattended && !parsed.reset && !parsed.verify;
    assert(registers == (parsed.libraryPath[0] != '\0')); // a register run names its library
    assert(parsed.copyFolder[0] == '\0' || registers);    // /copy only with a register run
    assert(!parsed.reset || parsed.unattended);           // /u only with /s
    assert(!parsed.verify || (!parsed.reset && parsed.copyFolder[0] == '\0'));
    return 0;
}
