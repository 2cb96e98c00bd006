// The component's identifiers and the registry text form of a GUID.
#include <windows.h>
#include "component_identity.h"

const GUID CLSID_Component = {
    0x5D0E3C71, 0x9A4B, 0x4F26, {0xB3, 0xE8, 0x71, 0xC2, 0xA9, 0x4D, 0x06, 0xF5}};
const GUID LIBID_Component = {
    0xC84A1F39, 0x2E6D, 0x4B07, {0x9F, 0x51, 0x0A, 0x7E, 0x3D, 0x62, 0xB8, 0xC4}};

int FormatGuidString(char *dst, const GUID *guid) {
    return wsprintfA(dst, "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", (ULONG)guid->Data1,
                     (unsigned)guid->Data2, (unsigned)guid->Data3, (unsigned)guid->Data4[0],
                     (unsigned)guid->Data4[1], (unsigned)guid->Data4[2], (unsigned)guid->Data4[3],
                     (unsigned)guid->Data4[4], (unsigned)guid->Data4[5], (unsigned)guid->Data4[6],
                     (unsigned)guid->Data4[7]);
}
