// The component's registry layout.
#include <windows.h>
#include "component_layout.h"
#include "../companions/component_identity.h"

void FormatComponentKeys(char paths[][COMPONENT_KEY_PATH_SIZE], const char *guidText) {
    wsprintfA(paths[0], "%s\\%s", CLASSES_KEY_PATH, COMPONENT_PROGID);
    wsprintfA(paths[1], "%s\\%s\\CLSID", CLASSES_KEY_PATH, COMPONENT_PROGID);
    wsprintfA(paths[2], "%s\\CLSID\\%s", CLASSES_KEY_PATH, guidText);
    wsprintfA(paths[3], "%s\\CLSID\\%s\\InprocServer32", CLASSES_KEY_PATH, guidText);
    wsprintfA(paths[4], "%s\\CLSID\\%s\\ProgID", CLASSES_KEY_PATH, guidText);
}

void FormatTypeLibraryKey(char *path) {
    char libIdText[GUID_TEXT_SIZE];
    FormatGuidString(libIdText, &LIBID_Component);
    wsprintfA(path, "%s\\TypeLib\\%s", CLASSES_KEY_PATH, libIdText);
}
