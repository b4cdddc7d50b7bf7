#include "names.h"
