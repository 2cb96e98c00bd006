// QuorvalisApoio.dll, the dependency of the component-dep variant: a library
// of the component's own that must lie beside it, not in the system folder.
#include "component.h"

const WCHAR *QuorvalisApoio_Versao(void) {
    return L"" QUORVALIS_VERSION_TEXT;
}
