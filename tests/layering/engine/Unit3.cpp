#include <windows.h>
#include "form.h"
#include "settings.h"
#include "Wordcap.h"
