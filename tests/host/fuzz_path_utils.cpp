// The path splitting with arbitrary bytes and buffer sizes. Every buffer, the
// input's included, is a heap block of exactly its size, so AddressSanitizer
// stops any access past it; results are compared with the rules of
// path_utils.h. Input: the operation, two bytes of buffer size (1..1024),
// the path, and after a NUL the new file name for ReplaceFileName.
#undef NDEBUG
#include <assert.h>
#include <stdint.h>
#include <string.h>
#include <string>
#include <vector>
#include "../../src/install/path_utils.h"

static std::vector<char> Block(const std::string &text) {
    return std::vector<char>(text.c_str(), text.c_str() + text.size() + 1);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 3)
        return 0;
    int operation = data[0] % 3;
    int bufferSize = 1 + (data[1] | data[2] << 8) % 1024;
    std::string path((const char *)data + 3, size - 3);
    std::string name = path.find('\0') != std::string::npos ? path.substr(path.find('\0') + 1) : "";
    path = path.substr(0, path.find('\0'));
    name = name.substr(0, name.find('\0'));
    std::vector<char> dst(bufferSize, '\xcc');

    if (operation == 2) {
        std::string fitting = path.substr(0, bufferSize - 1);
        memcpy(dst.data(), fitting.c_str(), fitting.size() + 1);
        size_t slash = fitting.find_last_of('\\');
        std::string replaced =
            (slash == std::string::npos ? std::string() : fitting.substr(0, slash + 1)) + name;
        bool fits = replaced.size() < (size_t)bufferSize;
        int result = ReplaceFileName(dst.data(), bufferSize, Block(name).data());
        assert(result == (int)fits);
        assert((fits ? replaced : fitting) == dst.data());
        return 0;
    }
    std::vector<char> input = Block(path);
    const char *result = operation == 0 ? ExtractFileName(dst.data(), bufferSize, input.data())
                                        : ExtractDirectory(dst.data(), bufferSize, input.data());
    if (bufferSize < PATH_OUTPUT_MIN) {
        assert(result != dst.data() && result[0] == '\0' && dst[0] == '\0');
        return 0;
    }
    assert(result == dst.data() && memchr(dst.data(), '\0', bufferSize) != NULL);
    size_t split = path.find_last_of("\\:");
    std::string expected;
    if (operation == 0 && split == std::string::npos)
        expected = path.substr(0, bufferSize - 2);
    else if (operation == 0)
        expected = path.substr(split + 1, bufferSize - 1);
    else if (split != std::string::npos)
        expected = path.substr(0, split + 1 < (size_t)bufferSize ? split : bufferSize - 2);
    assert(expected == dst.data());
    return 0;
}
