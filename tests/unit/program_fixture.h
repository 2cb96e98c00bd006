// Fresh fake machine and fresh program globals for every test, with the
// registrar control library present and the main dialog template defined.
#pragma once
#include <windows.h>
#include <gtest/gtest.h>
#include <functional>
#include <string>
#include <vector>
#include "fakewin.h"

#define PROGRAM_PATH "C:\\REGQuorvalis\\REGQuorvalis.exe"
#define STRING_TABLE "\\StringFileInfo\\041604b0\\"
#define GUID_TEXT    "{5D0E3C71-9A4B-4F26-B3E8-71C2A94D06F5}"

// What the fake registrar control library was asked to do.
struct RegistrarRecord {
    int registerCalls;
    int unregisterCalls;
    HRESULT registerResult;
    HRESULT unregisterResult;
    std::function<void()> onUnregister; // what the operator does meanwhile
};
extern RegistrarRecord g_registrar;

HRESULT WINAPI FakeDllRegisterServer(void);
HRESULT WINAPI FakeDllUnregisterServer(void);

class ProgramTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Makes the registrar control library loadable by its bare name.
    void AddRegistrar();
    // Creates the main window as start-up does, with the registrar resolved.
    void OpenWindow();
    // The whole program, from start-up to its exit code.
    int RunProgram(const char *commandLine = "");
    // The operator presses a button of the main window when it sits idle.
    void PressWhenIdle(int id);
    HWND Control(int id);
    std::vector<std::string> Log();
    void AddLogLines(int count);
    // Writes the complete registry layout, as a successful registration leaves it.
    void SeedLayout(const char *libraryPath);
    void ExpectNoOpenHandles();
};

// A bounded fill so a missing terminator shows.
#define JUNK 0xdd
