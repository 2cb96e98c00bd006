// The path splitting with arbitrary bytes and buffer sizes. Every buffer, the
// input's included, is a heap block of exactly its size, so AddressSanitizer
// stops any access past it; results are compared with the rules of
// path_utils.h. Input: the operation, two bytes of buffer size (1..1024),
// the path, and after a NUL the new file name for ReplaceFileName.
#undef NDEBUG
#include <assert.h>
#include <stdint.h>
#include <string.h>
#include <algorithm>
#include <string>
#include <vector>
#include "../../src/install/path_utils.h"

static std::vector<char> Block(const std::string &text) {
    return std::vector<char>(text.c_str(), text.c_str() + text.size() + 1);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 3)
        return 0;
    size_t bufferSize = 1 + (data[1] | data[2] << 8) % 1024;
    std::string input((const char *)data + 3, size - 3);
    std::string path = input.c_str(); // up to the first NUL
    std::string newName = input.c_str() + std::min(path.size() + 1, input.size());
    std::vector<char> dst(bufferSize, '\xcc');
    if (data[0] % 3 == 2) {
        std::string fitting = path.substr(0, bufferSize - 1);
        // Without a backslash rfind gives npos, and npos + 1 an empty folder.
        std::string replaced = fitting.substr(0, fitting.rfind('\\') + 1) + newName;
        bool fits = replaced.size() < bufferSize;
        memcpy(dst.data(), fitting.c_str(), fitting.size() + 1);
        assert(ReplaceFileName(dst.data(), bufferSize, Block(newName).data()) == (int)fits);
        assert((fits ? replaced : fitting) == dst.data());
        return 0;
    }
    bool takesName = data[0] % 3 == 0, bigEnough = bufferSize >= PATH_OUTPUT_MIN;
    const char *result = takesName ? ExtractFileName(dst.data(), bufferSize, Block(path).data())
                                   : ExtractDirectory(dst.data(), bufferSize, Block(path).data());
    // After the last separator (none: from 0) up to size - 1 bytes of the
    // name, without one size - 2; from too small a buffer, nothing at all.
    size_t from = path.find_last_of("\\:") + 1;
    std::string fileName = path.substr(from, bufferSize - (from > 0 ? 1 : 2));
    std::string folder = from > 0 ? path.substr(0, std::min(from - 1, bufferSize - 2)) : "";
    std::string expected = !bigEnough ? "" : takesName ? fileName : folder;
    assert(expected == result && expected == dst.data() && (result == dst.data()) == bigEnough);
    return 0;
}
