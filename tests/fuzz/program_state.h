// A fresh fake machine and fresh program globals for every fuzz run, with
// the registrar control library's two entries resolved to stand-ins.
#pragma once
#include <windows.h>
#include <string>
#include "fakewin.h"

#define COMPONENT_CAPTION "Quorvalis comunica com o SAT VORAN"

// What the stand-in registrar's DllRegisterServer returns.
extern HRESULT g_registrarResult;

// Before every run; also makes the double's reports findings.
void ResetProgram(void);
// Empties the fake machine again, so that a run frees what it allocated and
// the leak check between runs finds nothing of the double's.
void EndRun(void);

// Answers for boxes the fuzz input did not script, so that running out of
// script ends a run the way a patient operator would, never as a finding.
void PadMessageBoxAnswers(int answer, int count);

// The text of the path up to and including its last backslash (empty when
// there is none), followed by fileName: the sibling file the program derives.
std::string SiblingPath(const std::string &path, const char *fileName);

// Nothing left open: registry keys, files, type libraries.
void CheckNothingLeftOpen(void);

// Terminated within its size.
bool IsTerminated(const char *buffer, size_t size);
