#pragma once
#include "settings.h"
#include "geometry.h"
#include "wordcap_rules.h"
