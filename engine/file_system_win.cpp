#include "file_system.h"
