// A unit the design names in lower case.
#include <windows.h>
