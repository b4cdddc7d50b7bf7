#pragma once
// Not a unit, not a Win32 internal: no Windows header here.
#include <windows.h>
