#pragma once
// The application object: title, help file and help requests, the message
// loop, the modal machinery, and the standard error box that shows any
// exception escaping an event handler (the program then runs on).
#include <windows.h>

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "hook_chain.h"

namespace sorv::tk {

class Form;
class Window;

struct HelpRequest {
    std::string file;
    UINT command = 0;       // HELP_CONTEXT, HELP_CONTENTS, HELP_FINDER, HELP_PARTIALKEY...
    ULONG_PTR data = 0;     // the context number for HELP_CONTEXT
    std::string keyword;    // for HELP_PARTIALKEY / HELP_KEY
    HWND owner = nullptr;
};

class Application {
public:
    static Application& Instance();

    const std::string& Title() const { return title_; }
    void SetTitle(std::string title);
    std::string HelpFile;
    void SetIcon(HICON icon) { icon_ = icon; }
    HICON Icon() const { return icon_; }

    // The hidden application window; hooks on it see every message sent to it.
    HWND Handle();
    [[nodiscard]] HookRegistration AddHook(MessageHook hook);

    // Output held back to be shown in one go (log lines between two
    // paints): shown before any message runs, before any box or dialog shows
    // and before the loop waits. Returns a key for RemoveOutputFlush.
    int AddOutputFlush(std::function<void()> flush);
    void RemoveOutputFlush(int key);
    void FlushOutput();

    // Runs the message loop until Terminate (or a quit message).
    void Run();
    // Waits for one message and handles it; false once terminated.
    bool HandleMessage();
    // Handles every pending message once, then returns.
    void ProcessMessages();
    void Terminate();
    bool Terminated() const { return terminated_; }

    // The standard error box: stop icon, the application title, the error's
    // text with "." appended when its last character comes after ".".
    void HandleException(const std::exception& error);
    void ShowException(std::string_view text);

    // Help: goes to the active form's own help file when it has one, else to
    // the application's. Handled by OnHelp when set, else by WinHelp.
    std::function<void(const HelpRequest&)> OnHelp;
    bool HelpCommand(UINT command, ULONG_PTR data);
    bool HelpKeyword(UINT command, std::string_view keyword);
    bool HelpContext(int context);
    // F1: the focused control's context, else its parents', else the form's.
    bool HelpForFocus();

    // Forms, in the order of their creation; the first is the main form.
    const std::vector<Form*>& Forms() const { return forms_; }
    Form* MainForm() const { return forms_.empty() ? nullptr : forms_.front(); }
    // The program's form that was active last (it stays the same while
    // another program is active).
    Form* ActiveForm() const { return activeForm_; }
    // The window a message box should belong to.
    HWND BoxOwner() const;

    // For forms.
    void AddForm(Form& form);
    void RemoveForm(Form& form);
    // Called on WM_ACTIVATE; true when the form becomes the program's active
    // form, which raises its activation event.
    bool NoteActivation(Form& form);
    // A modal window gives the activation back without a new event.
    void RestoreActiveForm(Form* form) { activeForm_ = form; }

private:
    Application() = default;
    void Dispatch(MSG& msg);
    HelpRequest MakeRequest(UINT command) const;
    bool SendHelp(const HelpRequest& request);

    class HiddenWindow;
    std::string title_;
    HICON icon_ = nullptr;
    std::unique_ptr<HiddenWindow> window_;
    std::vector<Form*> forms_;
    Form* activeForm_ = nullptr;
    bool terminated_ = false;
    bool showingError_ = false;
    std::vector<std::pair<int, std::function<void()>>> flushes_;
    int nextFlushKey_ = 0;
};

inline Application& App() { return Application::Instance(); }

}  // namespace sorv::tk
