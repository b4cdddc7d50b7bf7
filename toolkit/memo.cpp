#include "memo.h"

#include <algorithm>
#include <utility>

#include "application.h"
#include "font.h"
#include "handles.h"
#include "utf16.h"

namespace sorv::tk {

Memo::Memo(Window& parent, std::string name, const Rect& bounds, bool readOnly)
    : Control(parent, std::move(name), bounds) {
    CreateControl(L"EDIT", WS_VISIBLE | WS_TABSTOP | WS_GROUP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
                               (readOnly ? ES_READONLY : 0),
                  WS_EX_CLIENTEDGE, "");
    SendMessageW(Handle(), EM_SETLIMITTEXT, 0, 0);
}

Memo::~Memo() { SetBatched(false); }

void Memo::SetBatched(bool batched) {
    if (batched == (flushKey_ != 0)) return;
    if (batched) {
        flushKey_ = App().AddOutputFlush([this] { Flush(); });
    } else {
        Flush();
        App().RemoveOutputFlush(std::exchange(flushKey_, 0));
    }
}

void Memo::Flush() {
    if (!held_.empty()) AppendText(std::exchange(held_, {}));
}

void Memo::AppendLine(std::string_view line) {
    // Each line ends with CR LF, so the next one always starts a line.
    const std::wstring text = Widen(line) + L"\r\n";
    if (flushKey_ != 0) {
        held_ += text;
        return;
    }
    AppendText(text);
}

void Memo::AppendText(const std::wstring& text) {
    const auto end = static_cast<WPARAM>(GetWindowTextLengthW(Handle()));
    SendMessageW(Handle(), EM_SETSEL, end, static_cast<LPARAM>(end));
    SendMessageW(Handle(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageW(Handle(), EM_SCROLLCARET, 0, 0);
}

void Memo::Clear() {
    held_.clear();
    SetText("");
}

std::vector<std::string> Memo::Lines() const {
    std::vector<std::string> lines;
    const std::string text = Text() + Narrow(held_);
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

LineView Memo::View() const {
    RECT format{};
    SendMessageW(Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    const int lineHeight = std::max<int>(MetricsOf(FontOf(Handle())).tmHeight, 1);
    return {static_cast<int>(SendMessageW(Handle(), EM_GETLINECOUNT, 0, 0)),
            static_cast<int>(SendMessageW(Handle(), EM_GETFIRSTVISIBLELINE, 0, 0)),
            static_cast<int>(format.bottom - format.top) / lineHeight};
}

HBRUSH Memo::ControlColor(HDC dc) {
    // Read-only edits ask for the static colours; the log stays white.
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    return GetSysColorBrush(COLOR_WINDOW);
}

LRESULT Memo::HandleMessage(const Message& message) {
    // Once the dialog keys have asked for its dialog code, a multi-line edit
    // closes its parent window on Escape: the key stops here (its character
    // still comes as WM_CHAR).
    if (message.msg == WM_KEYDOWN && message.wParam == VK_ESCAPE) return 0;
    if (message.msg == WM_CHAR) {
        const wchar_t key = RunKeyPress(static_cast<wchar_t>(message.wParam));
        // The log ignores Escape.
        if (!key || key == VK_ESCAPE) return 0;
        return DefaultHandling({message.window, message.msg, key, message.lParam});
    }
    // The edit keeps its first line when it is resized: shorter, it would
    // lose the last lines (the "...Ok" of an operation) below its edge.
    if (message.msg == WM_WINDOWPOSCHANGING || message.msg == WM_WINDOWPOSCHANGED) {
        const bool resized = !(reinterpret_cast<const WINDOWPOS*>(message.lParam)->flags & SWP_NOSIZE);
        if (message.msg == WM_WINDOWPOSCHANGING) {
            keepEndInView_ = KeepEndInView && resized && ShowsLastLine(View());
        } else if (resized && std::exchange(keepEndInView_, false)) {
            const LRESULT result = Control::HandleMessage(message);
            const LineView view = View();
            const int first = FirstLineShowingEnd(view.lineCount, view.visibleLines);
            SendMessageW(Handle(), EM_LINESCROLL, 0, first - view.firstVisible);
            return result;
        }
    }
    return Control::HandleMessage(message);
}

}  // namespace sorv::tk
