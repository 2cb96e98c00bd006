// Removing the registration: deepest keys first, the type library, the
// registrar's own record, and what each failure leaves behind.
#include "registry_lines.h"
#include "../../src/registration/registration.h"

#define UNREGISTER_TYPELIB "UnRegisterTypeLib {C84A1F39-2E6D-4B07-9F51-0A7E3D62B8C4} 1.0 0 1"

class Reset : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        OpenWindow();
    }
    void ExpectKeys(const std::vector<bool> &present) {
        for (size_t i = 0; i < 5; i++)
            EXPECT_EQ(present[i], fakewin::KeyExists(LAYOUT_KEYS[i])) << LAYOUT_KEYS[i];
        EXPECT_TRUE(fakewin::KeyExists("Software\\Classes\\CLSID"))
            << "the shared class root stays";
    }
};

static const std::vector<bool> NONE = {false, false, false, false, false};
static const std::vector<bool> ALL = {true, true, true, true, true};
static const std::vector<bool> CLASS_KEYS = {false, false, true, true, true};

TEST_F(Reset, NothingRegisteredStillCallsBothOutsideServices) {
    for (int round = 0; round < 2; round++) { // a second reset behaves the same
        SCOPED_TRACE(round);
        SetUp();
        EXPECT_EQ(1, ResetRegistration());
        EXPECT_EQ(ResetNothingLines(), Log());
        EXPECT_EQ(1, g_registrar.unregisterCalls);
        EXPECT_EQ(Lines({UNREGISTER_TYPELIB}), fakewin::OleCalls());
        ExpectNoOpenHandles();
    }
}

TEST_F(Reset, CompleteRegistrationIsRemovedDeepestFirst) {
    SeedLayout("D:\\Lib\\Quorvalis.dll");
    EXPECT_EQ(0, ResetRegistration());
    EXPECT_EQ(ResetFullLines(), Log());
    ExpectKeys(NONE);
    EXPECT_EQ(Lines({UNREGISTER_TYPELIB}), fakewin::OleCalls());
    EXPECT_EQ(0xF003Fu, fakewin::LastAccessMask(PROGID_PATH));
    EXPECT_EQ(0xF003Fu, fakewin::LastAccessMask(CLASS_PATH));
    EXPECT_EQ(0x20006u, fakewin::LastAccessMask("Software\\Classes"));
    ExpectNoOpenHandles();

    EXPECT_EQ(1, ResetRegistration()) << "the second reset finds nothing";
}

TEST_F(Reset, RegistrarIsAskedFirstBeforeAnyLine) {
    size_t linesAtUnregister = 99;
    g_registrar.onUnregister = [this, &linesAtUnregister] { linesAtUnregister = Log().size(); };
    ResetRegistration();
    EXPECT_EQ(0u, linesAtUnregister);
}

TEST_F(Reset, OutsideFailuresStayUnreported) {
    for (bool registrarFails : {true, false}) {
        SCOPED_TRACE(registrarFails ? "DllUnregisterServer fails" : "UnRegisterTypeLib fails");
        SetUp();
        SeedLayout("D:\\Lib\\Quorvalis.dll");
        if (registrarFails)
            g_registrar.unregisterResult = E_FAIL;
        else
            fakewin::FailNthCall("UnRegisterTypeLib", 1, (long)0x80070057);
        EXPECT_EQ(0, ResetRegistration());
        EXPECT_EQ(ResetFullLines(), Log());
        ExpectKeys(NONE);
    }
}

TEST_F(Reset, PartialRegistrationWithOnlyTheProgIdKey) {
    fakewin::SeedString(PROGID_PATH, NULL, "Quorvalis comunica com o SAT VORAN");
    fakewin::SeedString(PROGID_PATH "\\CLSID", NULL, GUID_TEXT);
    EXPECT_EQ(0, ResetRegistration());
    EXPECT_EQ(ResetProgIdLines(), Log());
    ExpectKeys(NONE);
    ExpectNoOpenHandles();
}

TEST_F(Reset, ExtraSubkeyKeepsTheClassKey) {
    SeedLayout("D:\\Lib\\Quorvalis.dll");
    fakewin::SeedKey(CLASS_PATH "\\Extra");
    EXPECT_EQ(0, ResetRegistration());
    EXPECT_EQ(ResetFullLines(), Log());
    ExpectKeys({false, false, false, false, true});
    EXPECT_TRUE(fakewin::KeyExists(CLASS_PATH "\\Extra"));
    ExpectNoOpenHandles();
}

// Every registry call of the reset made to fail in turn, after a complete registration.
TEST_F(Reset, EachFailingRegistryCallLeavesOnlyWhatItCouldNotReach) {
    const Lines noClassLines = {ResetFullLines()[0], ResetFullLines()[1], ResetFullLines()[2],
                                ResetFullLines()[6], ResetFullLines()[7]};
    struct {
        const char *function;
        const char *path;
        int result;
        Lines lines;
        std::vector<bool> keys;
        bool typeLibUnregistered;
    } cases[] = {
        {"RegOpenKeyExA", "Software\\Classes", 1, ResetNothingLines(), ALL, false},
        {"RegOpenKeyExA", PROGID_PATH, 1, ResetNothingLines(), ALL, true},
        {"RegOpenKeyExA", "Software\\Classes\\CLSID", 0, noClassLines, CLASS_KEYS, true},
        {"RegOpenKeyExA", CLASS_PATH, 0, noClassLines, CLASS_KEYS, true},
        {"RegDeleteKeyA",
         PROGID_PATH "\\CLSID",
         0,
         ResetFullLines(),
         {true, true, false, false, false},
         true},
        {"RegDeleteKeyA",
         PROGID_PATH,
         0,
         ResetFullLines(),
         {false, true, false, false, false},
         true},
        {"RegDeleteKeyA",
         CLASS_PATH "\\InprocServer32",
         0,
         ResetFullLines(),
         {false, false, true, false, true},
         true},
        {"RegDeleteKeyA",
         CLASS_PATH "\\ProgID",
         0,
         ResetFullLines(),
         {false, false, false, true, true},
         true},
        {"RegDeleteKeyA",
         CLASS_PATH,
         0,
         ResetFullLines(),
         {false, false, false, false, true},
         true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.function) + " " + c.path);
        SetUp();
        SeedLayout("D:\\Lib\\Quorvalis.dll");
        fakewin::FailOnPath(c.function, c.path);
        EXPECT_EQ(c.result, ResetRegistration());
        EXPECT_EQ(c.lines, Log());
        ExpectKeys(c.keys);
        EXPECT_EQ(c.typeLibUnregistered, fakewin::CallCount("UnRegisterTypeLib") == 1);
        EXPECT_EQ(1, g_registrar.unregisterCalls);
        ExpectNoOpenHandles();
    }
}
