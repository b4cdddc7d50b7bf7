#include "window_text.h"

namespace sorv::caption {
namespace {

void DropThrough(std::string_view& text, const PartText& part) {
    if (!part.visible) return;
    if (const auto at = text.find(part.caption); at != std::string_view::npos) text.remove_prefix(at + part.caption.size());
    if (!text.empty() && text.front() == ' ') text.remove_prefix(1);
}

}  // namespace

std::string ComposeWindowText(const PartText& company, const PartText& appName, const PartText& caption) {
    std::string text;
    if (company.visible) {
        text += company.caption;
        if (!company.caption.empty() && (appName.visible || caption.visible)) text += ' ';
    }
    if (appName.visible) {
        text += appName.caption;
        if (!appName.caption.empty() && caption.visible) text += ' ';
    }
    if (caption.visible) text += caption.caption;
    return text;
}

std::string ExtractCaption(std::string_view windowText, const PartText& company, const PartText& appName) {
    DropThrough(windowText, company);
    DropThrough(windowText, appName);
    return std::string(windowText);
}

}  // namespace sorv::caption
