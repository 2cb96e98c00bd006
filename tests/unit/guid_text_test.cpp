// The registry text form of GUIDs: what registration writes, reset finds.
#include <windows.h>
#include <gtest/gtest.h>
#include <string.h>
#include "../../src/companions/component_identity.h"

TEST(GuidText, FormatsEveryFieldUpperCaseAndZeroPadded) {
    const GUID leadingZeros = {0x00000001, 0x00AB, 0x000C, {0x05, 0x00, 0x0A, 1, 2, 3, 4, 0xF0}};
    struct {
        const GUID *guid;
        const char *text;
    } cases[] = {
        {&CLSID_Component, "{5D0E3C71-9A4B-4F26-B3E8-71C2A94D06F5}"},
        {&LIBID_Component, "{C84A1F39-2E6D-4B07-9F51-0A7E3D62B8C4}"},
        {&leadingZeros, "{00000001-00AB-000C-0500-0A01020304F0}"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        char buffer[GUID_TEXT_SIZE];
        memset(buffer, 0xdd, sizeof buffer);
        EXPECT_EQ(38, FormatGuidString(buffer, c.guid));
        EXPECT_STREQ(c.text, buffer);
        EXPECT_EQ('\0', buffer[38]);
        EXPECT_EQ((char)0xdd, buffer[39]) << "wrote past the 39 bytes it needs";
    }
}

TEST(GuidText, StoredBytesOfTheClassIdentifier) {
    // The numeric fields are stored little-endian; the last eight bytes as they are.
    const unsigned char stored[16] = {0x71, 0x3C, 0x0E, 0x5D, 0x4B, 0x9A, 0x26, 0x4F,
                                      0xB3, 0xE8, 0x71, 0xC2, 0xA9, 0x4D, 0x06, 0xF5};
    GUID fromBytes;
    fromBytes.Data1 = stored[0] | stored[1] << 8 | stored[2] << 16 | (DWORD)stored[3] << 24;
    fromBytes.Data2 = (WORD)(stored[4] | stored[5] << 8);
    fromBytes.Data3 = (WORD)(stored[6] | stored[7] << 8);
    memcpy(fromBytes.Data4, stored + 8, 8);
    char expected[GUID_TEXT_SIZE];
    char actual[GUID_TEXT_SIZE];
    FormatGuidString(expected, &CLSID_Component);
    FormatGuidString(actual, &fromBytes);
    EXPECT_STREQ(expected, actual);
}
