#pragma once
#include "settings.h"
#include "geometry.h"
