#pragma once
// What the title-bar geometry needs, read from the platform and the form.
#include "caption_geometry.h"
#include "form.h"

namespace sorv::caption {

CaptionMetrics CurrentCaptionMetrics();
// The platform draws caption buttons and the icon in the title bar itself
// from Windows 4.0 on.
bool NewWindowLook();
FrameStyle FrameStyleOf(tk::BorderStyle border);
FrameState FrameStateOf(const tk::Form& form);

}  // namespace sorv::caption
