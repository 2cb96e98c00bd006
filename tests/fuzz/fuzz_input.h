// Reading a fuzz input as a small script: bytes, bounded numbers and texts,
// all taken from the front. An exhausted input reads as zeros, so every
// input, however short, is a complete script.
#pragma once
#include <stddef.h>
#include <stdint.h>
#include <string>

struct FuzzInput {
    const uint8_t *data;
    size_t size;
};

int TakeByte(FuzzInput *in);
// 0 .. bound - 1, from one byte or, for bounds above 256, two.
int TakeBelow(FuzzInput *in, int bound);
// A length (0 .. maxLength) and then that many bytes. A NUL cannot be part
// of a C text, so it stands for a backslash, the byte paths turn on.
std::string TakeText(FuzzInput *in, int maxLength);
