#include <windows.h>
#include "names.h"
