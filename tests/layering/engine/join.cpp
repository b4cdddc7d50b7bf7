#include "form.h"
