// The log lines registration and reset write, for comparing whole logs.
#pragma once
#include <string>
#include <vector>
#include "program_fixture.h"

typedef std::vector<std::string> Lines;

#define CLASS_PATH   "Software\\Classes\\CLSID\\" GUID_TEXT
#define PROGID_PATH  "Software\\Classes\\Quorvalis.dll.object"
#define FAILURE_LINE "REGISTRO DE Quorvalis.dll FALHOU COMO UM  <C O M>  COMPONENTE."
#define SUCCESS_LINE "REGISTRADO Quorvalis.dll COM SUCESSO COMO UM   <C O M>  COMPONENTE."

// The first `count` lines of a successful registration of `path`.
Lines RegistrationLines(const std::string &path, size_t count = 15);

// A reset that finds nothing; one that finds only the ProgID key; one that
// finds the whole layout.
Lines ResetNothingLines();
Lines ResetProgIdLines();
Lines ResetFullLines();

Lines Join(Lines first, const Lines &second);

// The five keys of the layout, deepest first.
extern const char *const LAYOUT_KEYS[5];
