// Writing the layout, registering the type library, calling the registrar,
// and undoing every failed attempt.
#include "registry_lines.h"
#include "../../src/registration/registration.h"

#define LIBRARY            "D:\\Lib\\Quorvalis.dll"
#define TYPELIB            "D:\\Lib\\Quorvalis.tlb"
#define UNREGISTER_TYPELIB "UnRegisterTypeLib {C84A1F39-2E6D-4B07-9F51-0A7E3D62B8C4} 1.0 0 1"

class Registration : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        OpenWindow();
        fakewin::AddFile(LIBRARY);
        fakewin::AddFile(TYPELIB);
    }
    LONG Register(const char *path = LIBRARY) {
        strcpy(buffer, path);
        return RegisterComponent(buffer);
    }
    void ExpectValue(const char *key, const char *name, const std::string &data) {
        SCOPED_TRACE(std::string(key) + " " + (name ? name : "(default)"));
        fakewin::RegValue value = fakewin::ReadValue(key, name);
        ASSERT_TRUE(value.present);
        EXPECT_EQ((DWORD)REG_SZ, value.type);
        EXPECT_EQ(data + '\0', value.bytes) << "byte count is the text and its terminator";
    }
    void ExpectLayoutGone() {
        for (const char *key : LAYOUT_KEYS)
            EXPECT_FALSE(fakewin::KeyExists(key)) << key;
        EXPECT_TRUE(fakewin::KeyExists("Software\\Classes\\CLSID"));
    }
    void ExpectBoxes(const std::vector<std::string> &texts) {
        ASSERT_EQ(texts.size(), fakewin::MessageBoxes().size());
        for (size_t i = 0; i < texts.size(); i++)
            EXPECT_EQ(texts[i], fakewin::MessageBoxes()[i].text) << "box " << i;
    }
    char buffer[MAX_PATH];
};

TEST_F(Registration, WritesTheWholeLayoutAndLogsFifteenLines) {
    fakewin::AnswerMessageBox(IDOK);
    EXPECT_EQ(0, Register());
    EXPECT_EQ(RegistrationLines(LIBRARY), Log());
    ExpectValue(PROGID_PATH, NULL, "Quorvalis comunica com o SAT VORAN");
    ExpectValue(PROGID_PATH "\\CLSID", NULL, GUID_TEXT);
    ExpectValue(CLASS_PATH, NULL, "Quorvalis comunica com o SAT VORAN");
    ExpectValue(CLASS_PATH "\\InprocServer32", NULL, LIBRARY);
    ExpectValue(CLASS_PATH "\\InprocServer32", "ThreadingModel", "both");
    ExpectValue(CLASS_PATH "\\ProgID", NULL, "Quorvalis.dll.object");
    EXPECT_EQ(Lines({"InprocServer32", "ProgID"}), Lines(fakewin::Subkeys(CLASS_PATH)));

    EXPECT_EQ(0x20006u, fakewin::LastAccessMask("Software\\Classes"));
    EXPECT_EQ(0xF003Fu, fakewin::LastAccessMask("Software\\Classes\\CLSID"));
    for (const char *key : LAYOUT_KEYS)
        EXPECT_EQ(0x20006u, fakewin::LastAccessMask(key)) << key;

    EXPECT_EQ(Lines({"LoadTypeLib " TYPELIB, "RegisterTypeLib " TYPELIB, "Release"}),
              fakewin::OleCalls());
    EXPECT_EQ(1, g_registrar.registerCalls);
    EXPECT_EQ(0, g_registrar.unregisterCalls);
    ExpectBoxes({SUCCESS_LINE});
    EXPECT_EQ("Quorvalis comunica com o SAT VORAN", fakewin::MessageBoxes()[0].caption);
    EXPECT_EQ(0x40000u, fakewin::MessageBoxes()[0].flags);
    EXPECT_STREQ(TYPELIB, buffer);
    ExpectNoOpenHandles();
}

TEST_F(Registration, RegisteringAgainRewritesThePath) {
    fakewin::AddFile("E:\\App dir\\Quorvalis.tlb");
    fakewin::AnswerMessageBox(IDOK);
    fakewin::AnswerMessageBox(IDOK);
    EXPECT_EQ(0, Register());
    EXPECT_EQ(0, Register("E:\\App dir\\Quorvalis.dll"));
    ExpectValue(CLASS_PATH "\\InprocServer32", NULL, "E:\\App dir\\Quorvalis.dll");
    ExpectNoOpenHandles();
}

TEST_F(Registration, StoresA259CharacterPathWith260Bytes) {
    std::string path = "C:\\" + std::string(242, 'p') + "\\Quorvalis.dll";
    ASSERT_EQ(259u, path.size());
    fakewin::AddFile((path.substr(0, 246) + "Quorvalis.tlb").c_str());
    fakewin::AnswerMessageBox(IDOK);
    EXPECT_EQ(0, Register(path.c_str()));
    EXPECT_EQ(260u, fakewin::ReadValue(CLASS_PATH "\\InprocServer32", NULL).bytes.size());
}

// Every tested registry call of registration, made to fail in turn.
TEST_F(Registration, EachFailingRegistryStepIsReportedAndUndone) {
    struct {
        const char *function;
        int nth;
        size_t linesBefore;
        Lines failureLines;
        Lines resetLines;
    } cases[] = {
        {"RegOpenKeyExA", 1, 2, {"ERROR OPEN Software\\Classes"}, ResetNothingLines()},
        {"RegCreateKeyExA",
         1,
         3,
         {"ERROR OPEN/CREATE ..\\Quorvalis.dll.object)"},
         ResetNothingLines()},
        {"RegCreateKeyExA",
         2,
         5,
         {"ERROR OPEN/CREATE ..\\CLSID", "ERROR SET VALUE CLSID = CLSID"},
         ResetProgIdLines()},
        {"RegSetValueExA", 2, 6, {"ERROR SET VALUE CLSID = CLSID"}, ResetProgIdLines()},
        {"RegOpenKeyExA",
         2,
         7,
         {"ERROR OPEN \\Software\\Classes\\CLSID)", "ERROR"},
         ResetProgIdLines()},
        {"RegCreateKeyExA",
         3,
         8,
         {"ERROR OPEN/CREATE ..\\" GUID_TEXT ")", "ERROR"},
         ResetProgIdLines()},
        {"RegCreateKeyExA",
         4,
         9,
         {"ERROR OPEN/CREATE ..\\" GUID_TEXT "\\InprocServer32)", "ERROR"},
         ResetFullLines()},
        {"RegSetValueExA",
         4,
         10,
         {"ERROR SET PATH", "OPEN/CREATE KEY ..\\ProgID", "ERROR CREATE", "ERROR"},
         ResetFullLines()},
        {"RegSetValueExA",
         5,
         11,
         {"OPEN/CREATE KEY ..\\ProgID", "ERROR CREATE", "ERROR"},
         ResetFullLines()},
        {"RegCreateKeyExA", 5, 12, {"ERROR CREATE", "ERROR"}, ResetFullLines()},
        {"RegSetValueExA", 6, 13, {"ERROR"}, ResetFullLines()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.function) + " #" + std::to_string(c.nth));
        SetUp();
        fakewin::FailNthCall(c.function, c.nth);
        fakewin::AnswerMessageBox(IDOK);
        EXPECT_EQ(1, Register());
        Lines expected =
            Join(Join(RegistrationLines(LIBRARY, c.linesBefore), c.failureLines), c.resetLines);
        EXPECT_EQ(Join(expected, {FAILURE_LINE}), Log());
        ExpectBoxes({FAILURE_LINE});
        EXPECT_EQ(0x40030u, fakewin::MessageBoxes()[0].flags);
        EXPECT_EQ(1, g_registrar.unregisterCalls) << "the reset ran";
        EXPECT_EQ(0, g_registrar.registerCalls) << "a registry failure skips the registrar";
        EXPECT_EQ(0, fakewin::CallCount("LoadTypeLib"));
        EXPECT_STREQ(LIBRARY, buffer) << "unchanged after a registry-stage failure";
        ExpectLayoutGone();
        ExpectNoOpenHandles();
    }
}

TEST_F(Registration, FailedDescriptionValuesAreNotReported) {
    for (int nth : {1, 3}) {
        SCOPED_TRACE(nth);
        SetUp();
        fakewin::FailNthCall("RegSetValueExA", nth);
        fakewin::AnswerMessageBox(IDOK);
        EXPECT_EQ(0, Register());
        EXPECT_EQ(RegistrationLines(LIBRARY), Log());
        ExpectNoOpenHandles();
    }
}

TEST_F(Registration, TypeLibraryFailuresUndoTheLayoutAfterCallingTheRegistrar) {
    struct {
        const char *label;
        const char *failing;
        HRESULT result;
        Lines oleCalls;
    } cases[] = {
        {"type library missing",
         NULL,
         (HRESULT)0x80029C4A,
         {"LoadTypeLib " TYPELIB, UNREGISTER_TYPELIB}},
        {"registration refused",
         "RegisterTypeLib",
         (HRESULT)0x8002801C,
         {"LoadTypeLib " TYPELIB, "RegisterTypeLib " TYPELIB, "Release", UNREGISTER_TYPELIB}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.label);
        SetUp();
        if (c.failing)
            fakewin::FailNthCall(c.failing, 1, c.result);
        else
            fakewin::RemoveFile(TYPELIB);
        fakewin::AnswerMessageBox(IDOK);
        EXPECT_EQ(c.result, Register());
        EXPECT_LT(c.result, 0);
        Lines expected = Join(RegistrationLines(LIBRARY, 14), {"ERROR"});
        EXPECT_EQ(Join(Join(expected, ResetFullLines()), {FAILURE_LINE}), Log());
        EXPECT_EQ(c.oleCalls, fakewin::OleCalls());
        EXPECT_EQ(1, g_registrar.registerCalls);
        ExpectBoxes({FAILURE_LINE});
        EXPECT_STREQ(TYPELIB, buffer);
        ExpectLayoutGone();
        ExpectNoOpenHandles();
    }
}

// A path the text conversion refuses is never handed on half-converted: the
// type library is asked for an empty path and the attempt fails like a missing one.
TEST_F(Registration, FailedTextConversionFailsTheTypeLibraryStage) {
    fakewin::FailNthCall("MultiByteToWideChar", 1, ERROR_INSUFFICIENT_BUFFER);
    fakewin::AnswerMessageBox(IDOK);
    EXPECT_EQ((LONG)0x80029C4A, Register());
    EXPECT_EQ("LoadTypeLib ", fakewin::OleCalls().at(0));
    ExpectBoxes({FAILURE_LINE});
    ExpectLayoutGone();
}

TEST_F(Registration, FailingRegistrarShowsItsBoxBeforeTheSuccessBox) {
    g_registrar.registerResult = E_FAIL;
    fakewin::AnswerMessageBox(IDOK);
    fakewin::AnswerMessageBox(IDOK);
    EXPECT_EQ(0, Register());
    ExpectBoxes({"ERRO", SUCCESS_LINE});
    EXPECT_EQ("ERRO na instalação DllRegisterServer", fakewin::MessageBoxes()[0].caption);
    EXPECT_EQ(0x40000u, fakewin::MessageBoxes()[0].flags);
    EXPECT_EQ(RegistrationLines(LIBRARY), Log());
}

TEST_F(Registration, PathWithoutBackslashBecomesTheTypeLibraryName) {
    fakewin::AddFile("Quorvalis.tlb");
    fakewin::AnswerMessageBox(IDOK);
    EXPECT_EQ(0, Register("Quorvalis.dll"));
    EXPECT_STREQ("Quorvalis.tlb", buffer);
}

// A file name shorter than the type library's in a folder of nearly 260
// characters: the type-library path cannot be formed, so the attempt fails
// like a type library that cannot be loaded, and nothing is written past the buffer.
TEST_F(Registration, OverLongTypeLibraryPathFailsCleanly) {
    std::string path = "C:\\" + std::string(249, 'f') + "\\a.dll";
    ASSERT_EQ(258u, path.size());
    memset(buffer, 0xdd, sizeof buffer);
    fakewin::AnswerMessageBox(IDOK);
    strcpy(buffer, path.c_str());
    EXPECT_EQ((LONG)0x800700CE, RegisterComponent(buffer));
    EXPECT_EQ(path, buffer);
    EXPECT_EQ((char)0xdd, buffer[MAX_PATH - 1]);
    EXPECT_EQ(0, fakewin::CallCount("LoadTypeLib"));
    EXPECT_EQ(1, g_registrar.registerCalls);
    ExpectBoxes({FAILURE_LINE});
    ExpectLayoutGone();
    ExpectNoOpenHandles();
}
