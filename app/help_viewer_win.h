#pragma once
// The help viewer: a top-level window of class "SorvHelp" that shows the
// topics of a help file (help_rules.h). On the left, a search field over the
// topic list, which holds the contents (every topic), the topics found by a
// search or those of a keyword; on the right, the title and text of the topic
// chosen in the list. One viewer serves every request, owned by the window
// that asked; closing it only hides it.
//
// It is a plain window, not a form: a form would take part in the program's
// form activation, and going back from the help to a dialog would raise the
// dialog's activation event again (the options dialog reloads its check boxes
// then).
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "application.h"
#include "control.h"
#include "help_rules.h"
#include "window.h"

namespace sorv {

namespace tk {
class Control;
class Label;
class Memo;
}  // namespace tk

class EditField;
class ListBox;

class HelpViewer : public tk::Window {
public:
    HelpViewer();
    ~HelpViewer() override;

    // Reads the request's help file and shows it as the command asks:
    // HELP_FINDER the search, HELP_PARTIALKEY and HELP_KEY the topics of the
    // keyword, HELP_CONTEXT (and its pop-up form) the topic of the context,
    // HELP_QUIT hides the viewer, anything else shows the contents. A file
    // that cannot be read is reported in a message box and the viewer stays
    // as it was.
    void Open(const tk::HelpRequest& request);
    void Hide();
    bool Showing() const;

    // What the controls show, read back from them.
    std::string SearchText() const;
    std::string ListCaption() const;
    std::vector<std::string> ListedTitles() const;
    int ListIndex() const;  // -1 when nothing is chosen
    std::string ShownTitle() const;
    std::string ShownText() const;
    // The name of the viewer's control that has the focus, "" when none has.
    std::string FocusedControl() const;

protected:
    LRESULT HandleMessage(const tk::Message& message) override;
    // The list on the left, the topic on the right, both as tall as the window.
    void PerformLayout() override;

private:
    void Build(HWND owner);
    void Present(tk::Control& focus);
    // Beside the window that asked, or centred on it, as it shows.
    void PlaceBesideOwner();

    void ShowContents(std::optional<std::size_t> topic);
    void ShowSearchPage();
    void ShowKeyword(const std::string& keyword);
    void SetSearchText(const std::string& text);
    void List(std::vector<std::size_t> topics, const std::string& caption, std::optional<std::size_t> chosen);
    void ShowListed(int position);
    void SearchChanged();
    // Lines up the columns of the body's tables at tab stops of their own.
    void SetTabStops(const std::string& body);
    void KeyPressed(tk::Control& control, wchar_t& key);
    void FocusNext(tk::Control& from, bool backwards);

    HelpDocument document_;
    std::vector<std::size_t> listed_;  // topic indices, in list order
    bool settingSearch_ = false;
    int listWidthNeeded_ = 0;  // the list's width that shows every title whole
    HWND savedFocus_ = nullptr;
    double tabUnitPixels_ = 0;  // measured on first need

    std::unique_ptr<tk::Label> Label1;   // "Rechercher :"
    std::unique_ptr<EditField> Edit1;    // search field
    std::unique_ptr<tk::Label> Label2;   // what the list holds
    std::unique_ptr<ListBox> ListBox1;   // topics
    std::unique_ptr<tk::Label> Label3;   // title of the topic shown
    std::unique_ptr<tk::Memo> Memo1;     // its text
};

// The two standard controls the help viewer needs beyond the toolkit's: a
// one-line text field and a list box of texts.

// A one-line edit field; OnChange follows every change of its text.
class EditField : public tk::Control {
public:
    EditField(tk::Window& parent, std::string name, const Rect& bounds);

    std::function<void()> OnChange;
    void HandleCommand(WORD code) override;
};

// A list of texts, one selectable; OnSelect follows a selection by the user.
class ListBox : public tk::Control {
public:
    ListBox(tk::Window& parent, std::string name, const Rect& bounds);

    void SetItems(const std::vector<std::string>& items);
    // The list's outer width that shows each of the items whole.
    int WidthToShow(const std::vector<std::string>& items) const;
    std::vector<std::string> Items() const;
    // -1 when nothing is selected.
    int ItemIndex() const;
    void SetItemIndex(int index);

    std::function<void()> OnSelect;
    void HandleCommand(WORD code) override;

private:
    // The widest item's text, with room on both sides.
    int ItemsExtent(const std::vector<std::string>& items) const;
};

}  // namespace sorv
