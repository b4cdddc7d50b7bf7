#pragma once
// The window text (what the task bar and the window list show) made of the
// three title-bar texts, and the plain caption taken back out of it.
#include <string>
#include <string_view>

namespace sorv::caption {

struct PartText {
    bool visible = true;
    std::string caption;
};

// The visible texts, one blank between a non-empty text and a visible one
// after it.
std::string ComposeWindowText(const PartText& company, const PartText& appName, const PartText& caption);

// The window text less everything up to and including the visible company
// and application-name texts, each followed by one blank.
std::string ExtractCaption(std::string_view windowText, const PartText& company, const PartText& appName);

}  // namespace sorv::caption
