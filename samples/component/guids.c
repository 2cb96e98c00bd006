// Defines the identifiers declared by the generated header, once for the library.
#include <windows.h>
#include <ole2.h>
#include <initguid.h>
#include "Quorvalis.h"
