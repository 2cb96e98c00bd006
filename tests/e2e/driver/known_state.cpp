#include <windows.h>
#include "known_state.h"
#include "check.h"
#include "component_registry.h"
#include "folder_setup.h"
#include "program_under_test.h"
#include "sample_records.h"
#include "type_library.h"

bool StartFromKnownState(void) {
    bool ok = CheckTrue(ClearComponentLayout(), "start: no component layout in the registry");
    ok = CheckTrue(ClearTypeLibrary(), "start: no type library registration") && ok;
    ok = CheckTrue(ClearSampleRecords(), "start: no record of the sample registrar") && ok;
    ok = CheckTrue(PrepareFolder(DESTINATION_FOLDER, NULL, 0),
                   "start: empty copy destination " DESTINATION_FOLDER) &&
         ok;
    ok = CheckTrue(FileExists(COMPONENT_PATH) && FileExists(COMPONENT_TLB_PATH),
                   "start: the component and its type library in " COMPONENT_FOLDER) &&
         ok;
    return ok;
}
