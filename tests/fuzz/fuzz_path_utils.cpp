// The path utilities with arbitrary bytes and buffer sizes. Every buffer, the
// input path's included, is a heap block of exactly its size, so
// AddressSanitizer stops any access past it. Results are compared with the
// rules the routines follow: the extractors split at the last backslash or
// colon, ReplaceFileName only at the last backslash.
//
// Input: operation, buffer size (1..1024), path (up to 1100 bytes), and for
// ReplaceFileName the new file name (up to 300 bytes).
#include <windows.h>
#include <string>
#include <vector>
#include "fuzz_check.h"
#include "fuzz_input.h"
#include "../../src/install/path_utils.h"

static std::vector<char> ExactBlock(const std::string &text) {
    return std::vector<char>(text.c_str(), text.c_str() + text.size() + 1);
}

static bool IsTerminated(const std::vector<char> &buffer) {
    return memchr(buffer.data(), '\0', buffer.size()) != NULL;
}

static void CheckExtractFileName(const std::string &path, int size) {
    std::vector<char> input = ExactBlock(path);
    std::vector<char> dst(size, '\x5a');
    const char *result = ExtractFileName(dst.data(), size, input.data());
    if (size < PATH_OUTPUT_MIN) {
        FUZZ_CHECK(result != dst.data() && result[0] == '\0' && dst[0] == '\0',
                   "a buffer below 260 bytes is not refused with an empty text");
        return;
    }
    FUZZ_CHECK(result == dst.data(), "the result is not the caller's buffer");
    FUZZ_CHECK(dst[size - 1] == '\0', "the last byte is not a terminator");
    size_t split = path.find_last_of("\\:");
    std::string expected =
        split == std::string::npos ? path.substr(0, size - 2) : path.substr(split + 1, size - 1);
    FUZZ_CHECK(expected == dst.data(), "the file name part is wrong");
}

static void CheckExtractDirectory(const std::string &path, int size) {
    std::vector<char> input = ExactBlock(path);
    std::vector<char> dst(size, '\x5a');
    const char *result = ExtractDirectory(dst.data(), size, input.data());
    if (size < PATH_OUTPUT_MIN) {
        FUZZ_CHECK(result != dst.data() && result[0] == '\0' && dst[0] == '\0',
                   "a buffer below 260 bytes is not refused with an empty text");
        return;
    }
    FUZZ_CHECK(result == dst.data(), "the result is not the caller's buffer");
    FUZZ_CHECK(IsTerminated(dst), "the folder part is not terminated");
    size_t split = path.find_last_of("\\:");
    std::string expected;
    if (split != std::string::npos)
        expected = path.substr(0, split + 1 < (size_t)size ? split : size - 2);
    FUZZ_CHECK(expected == dst.data(), "the folder part is wrong");
}

static void CheckReplaceFileName(const std::string &path, int size, const std::string &name) {
    std::string fitting = path.substr(0, size - 1);
    std::vector<char> buffer(size, '\0');
    memcpy(buffer.data(), fitting.c_str(), fitting.size());
    std::vector<char> newName = ExactBlock(name);
    size_t slash = fitting.find_last_of('\\');
    std::string replaced =
        (slash == std::string::npos ? std::string() : fitting.substr(0, slash + 1)) + name;
    if (ReplaceFileName(buffer.data(), size, newName.data())) {
        FUZZ_CHECK(replaced.size() < (size_t)size, "a path too long for its buffer was formed");
        FUZZ_CHECK(replaced == buffer.data(), "the file name was not replaced");
    } else {
        FUZZ_CHECK(replaced.size() >= (size_t)size, "a path that fits was refused");
        FUZZ_CHECK(fitting == buffer.data(), "a refused path was changed");
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FuzzInput in = {data, size};
    int operation = TakeBelow(&in, 3);
    int bufferSize = 1 + TakeBelow(&in, 1024);
    std::string path = TakeText(&in, 1100);
    if (operation == 0)
        CheckExtractFileName(path, bufferSize);
    else if (operation == 1)
        CheckExtractDirectory(path, bufferSize);
    else
        CheckReplaceFileName(path, bufferSize, TakeText(&in, 300));
    return 0;
}
