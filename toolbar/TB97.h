#pragma once
// The docking machinery's public classes: the dock, the tool window and the
// invisible form that parents a floating tool window.
#include "TB97Dock.h"
#include "TB97FloatingParent.h"
#include "TB97ToolWindow.h"
