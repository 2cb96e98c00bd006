#include <windows.h>
#include <string.h>
#include "program_globals.h"
#include "fakewin.h"
#include "../../src/companions/libraries.h"
#include "../../src/install/version_query.h"
#include "../../src/operator/activity_log.h"
#include "../../src/operator/dialogue.h"
#include "../../src/shell/installer.h"
#include "../../src/shell/main_window.h"
#include "../../src/operator/window_services.h"

void ResetProgramGlobals(unsigned char versionFill) {
    // Loaded system libraries and an open log file would outlive the fake
    // machine they came from.
    FreeSystemLibraries();
    CloseLogFile();
    AnswerFromCommandLine(NULL, "");
    fakewin::Reset();
    g_hInstance = NULL;
    g_hMainWnd = NULL;
    g_hRegistrarLibrary = NULL;
    g_pfnRegistrarRegister = NULL;
    g_pfnRegistrarUnregister = NULL;
    g_requestedAction = ACTION_NONE;
    g_closeRequested = 0;
    g_classAtom = 0;
    g_maxLogExtent = 0;
    memset(g_libraryVersion, versionFill, sizeof g_libraryVersion);
}
