// One call that gives every test a fresh fake machine.
#include <windows.h>
#include "fakewin_internal.h"

namespace fakewin {

void Reset() {
    detail::ResetWindows();
    detail::ResetOtherWindows();
    detail::ResetMessages();
    detail::ResetDialogs();
    detail::ResetOle();
    detail::ResetVersion();
    detail::ResetModules();
    detail::ResetFiles();
    detail::ResetRegistry();
    detail::ResetFaults();
}

} // namespace fakewin
