#include "application.h"

#include <algorithm>

#include "control.h"
#include "error_text.h"
#include "form.h"
#include "guard.h"
#include "message_box.h"
#include "utf16.h"

namespace sorv::tk {

// Hidden, never shown: the window that application-wide hooks watch (the
// caption painter re-hooks a re-created form through it).
class Application::HiddenWindow : public Window {
public:
    explicit HiddenWindow(const std::string& title) {
        CreateHandle(WindowClass{L"TApplication"}, WindowDescription{title, WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 0, 0, 0});
    }
    ~HiddenWindow() override { DestroyHandle(); }
};

Application& Application::Instance() {
    static Application application;
    return application;
}

void Application::SetTitle(std::string title) {
    title_ = std::move(title);
    if (window_) SetWindowTextW(window_->Handle(), Widen(title_).c_str());
}

HWND Application::Handle() {
    if (!window_) window_ = std::make_unique<HiddenWindow>(title_);
    return window_->Handle();
}

HookRegistration Application::AddHook(MessageHook hook) {
    Handle();
    return window_->AddHook(std::move(hook));
}

int Application::AddOutputFlush(std::function<void()> flush) {
    flushes_.emplace_back(++nextFlushKey_, std::move(flush));
    return nextFlushKey_;
}

void Application::RemoveOutputFlush(int key) {
    std::erase_if(flushes_, [key](const auto& entry) { return entry.first == key; });
}

// A flush that fails is shown like any error of an event handler: the
// message loop goes on.
void Application::FlushOutput() {
    for (const auto& [key, flush] : flushes_) Guard(flush);
}

void Application::Run() {
    while (HandleMessage()) {
    }
}

bool Application::HandleMessage() {
    if (terminated_) return false;
    FlushOutput();
    MSG msg;
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) {
        terminated_ = true;
        return false;
    }
    Dispatch(msg);
    return true;
}

void Application::ProcessMessages() {
    FlushOutput();
    MSG msg;
    while (!terminated_ && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            terminated_ = true;
            break;
        }
        Dispatch(msg);
    }
}

void Application::Terminate() { PostQuitMessage(0); }

namespace {

bool IsArrowKey(WPARAM key) { return key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN; }

bool WantsCharacters(const MSG& msg) {
    const LRESULT code = SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
    return (code & (DLGC_WANTCHARS | DLGC_WANTMESSAGE)) != 0;
}

Form* FormOf(HWND window) {
    return window ? dynamic_cast<Form*>(Window::FromHandle(GetAncestor(window, GA_ROOT))) : nullptr;
}

// Enter, Escape, Tab, arrows and access keys of a form; true when the key was
// used. Enter and the access keys run buttons' handlers from here, outside
// any window procedure.
bool HandleFormKey(Form& form, MSG& msg) {
    // Enter and Escape press the default and cancel buttons; when there is
    // none, the key goes on to the key-press handlers.
    if (msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE))
        return form.HandleDialogKey(msg);
    if (!(msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN || msg.message == WM_SYSCHAR ||
          (msg.message == WM_CHAR && !WantsCharacters(msg))))
        return false;
    // Tab, arrows and access keys move between the form's controls; away
    // from an edit field the access keys need no Alt.
    HWND before = GetFocus();
    if (!IsDialogMessageW(form.Handle(), &msg)) return false;
    if (GetFocus() == before) return true;
    // The dialog manager sets the push buttons' styles as it moves the focus,
    // as if the form were a dialog without a default button: the form's own
    // choice goes back.
    form.UpdateDefaultFrame();
    if (msg.message == WM_KEYDOWN && IsArrowKey(msg.wParam))
        if (auto* control = dynamic_cast<Control*>(Window::FromHandle(GetFocus()))) control->FocusedByArrowKey();
    return true;
}

}  // namespace

void Application::Dispatch(MSG& msg) {
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_F1) {
        HelpForFocus();
        return;
    }
    if (Form* form = FormOf(msg.hwnd)) {
        // A handler's error is shown here, where the form's modal loop still
        // runs, rather than unwinding through it and leaving the form shown.
        bool handled = false;
        const bool ran = Guard([&] { handled = HandleFormKey(*form, msg); });
        if (handled || !ran) return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

void Application::HandleException(const std::exception& error) { ShowException(error.what()); }

void Application::ShowException(std::string_view text) {
    // Called from the guards: nothing may escape from here. An error raised
    // while the box is up (the windows under it paint) opens no second box.
    if (showingError_) {
        MessageBeep(MB_ICONHAND);
        return;
    }
    showingError_ = true;
    try {
        ShowMessageBox(BoxKind::Error, ErrorBoxText(text));
    } catch (...) {
        MessageBeep(MB_ICONHAND);
    }
    showingError_ = false;
}

HelpRequest Application::MakeRequest(UINT command) const {
    HelpRequest request;
    request.command = command;
    Form* active = FormOf(GetActiveWindow());
    if (active && !active->HelpFile.empty()) {
        request.file = active->HelpFile;
        request.owner = active->Handle();
    } else {
        request.file = HelpFile;
        request.owner = MainForm() ? MainForm()->Handle() : nullptr;
    }
    return request;
}

bool Application::SendHelp(const HelpRequest& request) {
    if (request.file.empty()) return false;
    if (OnHelp) {
        OnHelp(request);
        return true;
    }
    const std::wstring file = Widen(request.file);
    const std::wstring keyword = Widen(request.keyword);
    const ULONG_PTR data = request.keyword.empty() ? request.data : reinterpret_cast<ULONG_PTR>(keyword.c_str());
    return WinHelpW(request.owner, file.c_str(), request.command, data) != FALSE;
}

bool Application::HelpCommand(UINT command, ULONG_PTR data) {
    HelpRequest request = MakeRequest(command);
    request.data = data;
    return SendHelp(request);
}

bool Application::HelpKeyword(UINT command, std::string_view keyword) {
    HelpRequest request = MakeRequest(command);
    request.keyword = keyword;
    return SendHelp(request);
}

bool Application::HelpContext(int context) { return HelpCommand(HELP_CONTEXT, static_cast<ULONG_PTR>(context)); }

bool Application::HelpForFocus() {
    HWND focus = GetFocus();
    int context = 0;
    for (Window* window = Window::FromHandle(focus); window && context == 0;) {
        if (auto* control = dynamic_cast<Control*>(window)) {
            context = control->HelpContext;
            window = &control->Parent();
        } else {
            if (auto* form = dynamic_cast<Form*>(window)) context = form->HelpContext;
            break;
        }
    }
    if (context == 0)
        if (Form* form = FormOf(focus ? focus : GetActiveWindow())) context = form->HelpContext;
    return context != 0 && HelpContext(context);
}

HWND Application::BoxOwner() const {
    HWND active = GetActiveWindow();
    if (active && GetWindowThreadProcessId(active, nullptr) == GetCurrentThreadId()) return active;
    return MainForm() ? MainForm()->Handle() : nullptr;
}

void Application::AddForm(Form& form) { forms_.push_back(&form); }

void Application::RemoveForm(Form& form) {
    std::erase(forms_, &form);
    if (activeForm_ == &form) activeForm_ = nullptr;
}

bool Application::NoteActivation(Form& form) {
    if (activeForm_ == &form) return false;
    activeForm_ = &form;
    return true;
}

}  // namespace sorv::tk
