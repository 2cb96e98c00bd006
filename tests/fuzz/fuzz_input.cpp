// The fuzz input as a script.
#include "fuzz_input.h"

int TakeByte(FuzzInput *in) {
    if (in->size == 0)
        return 0;
    int byte = in->data[0];
    in->data++;
    in->size--;
    return byte;
}

int TakeBelow(FuzzInput *in, int bound) {
    int value = TakeByte(in);
    if (bound > 256)
        value |= TakeByte(in) << 8;
    return value % bound;
}

std::string TakeText(FuzzInput *in, int maxLength) {
    int length = TakeBelow(in, maxLength + 1);
    std::string text;
    for (int i = 0; i < length && in->size > 0; i++) {
        char c = (char)TakeByte(in);
        text += c != '\0' ? c : '\\';
    }
    return text;
}
