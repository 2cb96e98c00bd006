// Host stand-in: everything is declared in <windows.h>.
#pragma once
#include <windows.h>
