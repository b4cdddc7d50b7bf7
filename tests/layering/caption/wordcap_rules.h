#pragma once
#include "geometry.h"
