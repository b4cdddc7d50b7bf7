#include "help_viewer_win.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <numeric>

#include "canvas.h"
#include "font.h"
#include "handles.h"
#include "help_rules.h"
#include "label.h"
#include "memo.h"
#include "message_box.h"
#include "placement.h"
#include "utf16.h"
#include "win_geometry.h"

namespace sorv {

namespace {

constexpr char kCaption[] = "Aide de Sorv";
constexpr char kContentsCaption[] = "Sommaire";

constexpr int kMargin = 8;
constexpr int kFieldHeight = 21;
constexpr int kMinWidth = 420;
constexpr int kMinHeight = 300;

constexpr Rect Box(int left, int top, int width, int height) { return Rect::FromOrigin({left, top}, {width, height}); }

std::string FailureText(HelpLoadStatus status, const std::string& file) {
    switch (status) {
        case HelpLoadStatus::TooLarge: return "Le fichier d'aide " + file + " est trop volumineux.";
        case HelpLoadStatus::NoTopics: return "Le fichier d'aide " + file + " ne contient aucune rubrique.";
        default: return "Impossible d'ouvrir le fichier d'aide " + file + ".";
    }
}

std::vector<std::size_t> AllTopics(const HelpDocument& document) {
    std::vector<std::size_t> all(document.topics.size());
    std::iota(all.begin(), all.end(), std::size_t{0});
    return all;
}

// The edit control breaks lines at CR LF only.
std::string WithWindowsLineEnds(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (const char c : text) {
        if (c == '\n') out.push_back('\r');
        out.push_back(c);
    }
    return out;
}

// The edit control takes tab stops in dialog units of its font, whose size
// in pixels is not the same under Windows and Wine: measured where a tab at
// a known stop puts the next character. Left with an empty text.
double MeasureTabUnit(HWND edit) {
    int probe = 64;
    SetWindowTextW(edit, L"\tx");
    SendMessageW(edit, EM_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&probe));
    const LRESULT tab = SendMessageW(edit, EM_POSFROMCHAR, 0, 0);
    const LRESULT after = SendMessageW(edit, EM_POSFROMCHAR, 1, 0);
    SetWindowTextW(edit, L"");
    const int pixels = GET_X_LPARAM(after) - GET_X_LPARAM(tab);
    if (tab != -1 && after != -1 && GET_Y_LPARAM(tab) == GET_Y_LPARAM(after) && pixels > 0)
        return pixels / static_cast<double>(probe);
    // Not on one line (a window too narrow): the documented quarter of the
    // font's average character width.
    return std::max<LONG>(tk::MetricsOf(tk::FontOf(edit)).tmAveCharWidth, 4) / 4.0;
}

bool IsOnlyBlanks(const std::string& text) {
    return std::ranges::all_of(text, [](char c) { return c == ' ' || c == '\t'; });
}

}  // namespace

HelpViewer::HelpViewer() = default;

HelpViewer::~HelpViewer() {
    // While the controls still exist: the window's last messages may reach them.
    DestroyHandle();
}

void HelpViewer::Open(const tk::HelpRequest& request) {
    if (request.command == HELP_QUIT) {
        Hide();
        return;
    }
    HelpLoad load = LoadHelpFile(request.file);
    if (load.status != HelpLoadStatus::Ok) {
        tk::ShowMessageBox(tk::BoxKind::Error, FailureText(load.status, request.file));
        return;
    }
    document_ = std::move(load.document);
    Build(request.owner);
    std::vector<std::string> titles;
    for (const HelpTopic& topic : document_.topics) titles.push_back(topic.title);
    listWidthNeeded_ = ListBox1->WidthToShow(titles);
    RequestLayout();
    switch (request.command) {
        case HELP_CONTEXT:
        case HELP_CONTEXTPOPUP:
            ShowContents(TopicForContext(document_, static_cast<int>(request.data)));
            break;
        case HELP_FINDER:
            ShowSearchPage();
            break;
        case HELP_PARTIALKEY:
        case HELP_KEY:
            ShowKeyword(request.keyword);
            break;
        default:
            ShowContents(std::nullopt);
            break;
    }
}

void HelpViewer::Hide() {
    if (Handle()) ShowWindow(Handle(), SW_HIDE);
}

bool HelpViewer::Showing() const { return Handle() && IsWindowVisible(Handle()); }

void HelpViewer::Build(HWND owner) {
    if (Handle()) {
        // The viewer follows the window that asks, as a dialog follows its owner.
        if (GetWindow(Handle(), GW_OWNER) != owner)
            SetWindowLongPtrW(Handle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
        // A modal window may have disabled it; it asks for help all the same.
        EnableWindow(Handle(), TRUE);
        return;
    }
    // Gone with a former owner, or never made: the controls go with the window.
    Memo1.reset();
    Label3.reset();
    ListBox1.reset();
    Label2.reset();
    Edit1.reset();
    Label1.reset();
    savedFocus_ = nullptr;

    CreateHandle(tk::WindowClass{L"SorvHelp", 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)},
                 tk::WindowDescription{kCaption, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, CW_USEDEFAULT, CW_USEDEFAULT, 600,
                                440, owner});
    if (HICON icon = tk::App().Icon()) {
        Perform(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        Perform(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
    Label1 = std::make_unique<tk::Label>(*this, "Label1", Rect::FromOrigin({kMargin, 12}, {0, 0}), "Rechercher :");
    Edit1 = std::make_unique<EditField>(*this, "Edit1", Rect{});
    Label2 = std::make_unique<tk::Label>(*this, "Label2", Rect{}, kContentsCaption, false);
    ListBox1 = std::make_unique<ListBox>(*this, "ListBox1", Rect{});
    Label3 = std::make_unique<tk::Label>(*this, "Label3", Rect{}, "", false);
    Memo1 = std::make_unique<tk::Memo>(*this, "Memo1", Rect{}, true);
    tk::FontDescription bold = GetFont()->Design();
    bold.weight = FW_BOLD;
    Label3->SetControlFont(tk::MakeFont(bold));

    Edit1->OnChange = [this] { SearchChanged(); };
    ListBox1->OnSelect = [this] { ShowListed(ListBox1->ItemIndex()); };
    for (tk::Control* control : {static_cast<tk::Control*>(Edit1.get()), static_cast<tk::Control*>(ListBox1.get()),
                                 static_cast<tk::Control*>(Memo1.get())})
        control->OnKeyPress = [this, control](wchar_t& key) { KeyPressed(*control, key); };
    RequestLayout();
}

void HelpViewer::PerformLayout() {
    if (!Memo1) return;  // sized while it is being built
    const Size client = ClientSize();
    const int width = std::max<int>(client.cx, kMinWidth / 2);
    const int height = std::max<int>(client.cy, kMinHeight / 2);
    // Wide enough for every title, unless that would leave the topic less
    // than half the window.
    const int listWidth = std::clamp(std::max(width / 3, listWidthNeeded_), 150, std::max(150, width / 2));
    const int fieldLeft = kMargin + Label1->Width() + 6;
    Edit1->SetBounds(Box(fieldLeft, kMargin, kMargin + listWidth - fieldLeft, kFieldHeight));
    Label2->SetBounds(Box(kMargin, 38, listWidth, 16));
    ListBox1->SetBounds(Box(kMargin, 56, listWidth, height - 56 - kMargin));
    const int right = 2 * kMargin + listWidth;
    Label3->SetBounds(Box(right, 12, width - right - kMargin, 18));
    Memo1->SetBounds(Box(right, 38, width - right - kMargin, height - 38 - kMargin));
}

void HelpViewer::Present(tk::Control& focus) {
    if (!IsWindowVisible(Handle())) PlaceBesideOwner();
    if (IsIconic(Handle())) ShowWindow(Handle(), SW_RESTORE);
    ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle());
    focus.SetFocus();
}

void HelpViewer::PlaceBesideOwner() {
    HWND owner = GetWindow(Handle(), GW_OWNER);
    if (!owner) return;
    RECT ownerRect{};
    GetWindowRect(owner, &ownerRect);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor)) return;
    const Point at = tk::PlaceBeside(FromRECT(ownerRect), WindowRect().Extent(), FromRECT(monitor.rcWork));
    SetWindowPos(Handle(), nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void HelpViewer::ShowContents(std::optional<std::size_t> topic) {
    SetSearchText("");
    List(AllTopics(document_), kContentsCaption, topic.value_or(0));
    Present(*ListBox1);
}

void HelpViewer::ShowSearchPage() {
    SetSearchText("");
    List(AllTopics(document_), kContentsCaption, 0);
    Present(*Edit1);
}

void HelpViewer::ShowKeyword(const std::string& keyword) {
    SetSearchText(keyword);
    std::vector<std::size_t> found = TopicsForKeyPrefix(document_, keyword);
    if (found.empty()) {
        List({}, "Mot-clé introuvable : " + keyword, std::nullopt);
        Present(*Edit1);
        Edit1->Perform(EM_SETSEL, 0, -1);  // typing replaces it
        return;
    }
    List(std::move(found), "Mot-clé : " + keyword, 0);
    Present(*ListBox1);
}

void HelpViewer::SetSearchText(const std::string& text) {
    settingSearch_ = true;
    Edit1->SetText(text);
    settingSearch_ = false;
}

void HelpViewer::SearchChanged() {
    if (settingSearch_) return;
    const std::string query = Edit1->Text();
    if (IsOnlyBlanks(query)) {
        List(AllTopics(document_), kContentsCaption, 0);
        return;
    }
    std::vector<std::size_t> found = SearchTopics(document_, query);
    if (found.empty()) {
        List({}, "Aucune rubrique trouvée", std::nullopt);
        return;
    }
    const std::string caption = "Rubriques trouvées : " + std::to_string(found.size());
    List(std::move(found), caption, 0);
}

void HelpViewer::List(std::vector<std::size_t> topics, const std::string& caption,
                      std::optional<std::size_t> chosen) {
    listed_ = std::move(topics);
    std::vector<std::string> titles;
    titles.reserve(listed_.size());
    for (const std::size_t index : listed_) titles.push_back(document_.topics[index].title);
    ListBox1->SetItems(titles);
    Label2->SetCaption(caption);
    const int position = chosen && *chosen < listed_.size() ? static_cast<int>(*chosen) : -1;
    ListBox1->SetItemIndex(position);
    ShowListed(position);
}

void HelpViewer::ShowListed(int position) {
    if (position < 0 || static_cast<std::size_t>(position) >= listed_.size()) {
        Label3->SetCaption("");
        Memo1->SetText("");
        return;
    }
    const HelpTopic& topic = document_.topics[listed_[static_cast<std::size_t>(position)]];
    Label3->SetCaption(topic.title);
    SetTabStops(topic.body);
    Memo1->SetText(WithWindowsLineEnds(topic.body));
}

void HelpViewer::SetTabStops(const std::string& body) {
    HWND edit = Memo1->Handle();
    if (tabUnitPixels_ <= 0) tabUnitPixels_ = MeasureTabUnit(edit);
    const tk::WindowDc dc(edit);
    tk::Canvas canvas(dc.get());
    canvas.SetFont(tk::FontOf(edit));
    const auto width = [&](std::string_view text) { return static_cast<int>(canvas.TextExtent(text).cx); };
    std::vector<int> stops = TableTabStops(body, width, width("  ") * 2);
    for (int& stop : stops) stop = static_cast<int>(std::ceil(stop / tabUnitPixels_));
    // None: the control's default stops, for a topic without tables.
    SendMessageW(edit, EM_SETTABSTOPS, stops.size(), reinterpret_cast<LPARAM>(stops.data()));
}

void HelpViewer::KeyPressed(tk::Control& control, wchar_t& key) {
    switch (key) {
        case L'\t':
            FocusNext(control, GetKeyState(VK_SHIFT) < 0);
            break;
        case VK_ESCAPE:
            Hide();
            break;
        case L'\r':
            if (&control == Edit1.get()) ListBox1->SetFocus();
            break;
        default:
            return;
    }
    key = 0;
}

void HelpViewer::FocusNext(tk::Control& from, bool backwards) {
    tk::Control* const order[] = {Edit1.get(), ListBox1.get(), Memo1.get()};
    const auto at = std::ranges::find(order, &from) - std::begin(order);
    const auto count = static_cast<std::ptrdiff_t>(std::size(order));
    order[(at + (backwards ? count - 1 : 1)) % count]->SetFocus();
}

std::string HelpViewer::SearchText() const { return Edit1 && Handle() ? Edit1->Text() : ""; }

std::string HelpViewer::ListCaption() const { return Label2 && Handle() ? Label2->Caption() : ""; }

std::vector<std::string> HelpViewer::ListedTitles() const {
    return ListBox1 && Handle() ? ListBox1->Items() : std::vector<std::string>{};
}

int HelpViewer::ListIndex() const { return ListBox1 && Handle() ? ListBox1->ItemIndex() : -1; }

std::string HelpViewer::ShownTitle() const { return Label3 && Handle() ? Label3->Caption() : ""; }

std::string HelpViewer::ShownText() const {
    if (!Memo1 || !Handle()) return "";
    std::string text = Memo1->Text();
    std::erase(text, '\r');
    return text;
}

std::string HelpViewer::FocusedControl() const {
    auto* control = dynamic_cast<tk::Control*>(Window::FromHandle(GetFocus()));
    return control && Handle() && IsChild(Handle(), control->Handle()) ? control->Name() : "";
}

LRESULT HelpViewer::HandleMessage(const tk::Message& message) {
    switch (message.msg) {
        case WM_GETMINMAXINFO:
            reinterpret_cast<MINMAXINFO*>(message.lParam)->ptMinTrackSize = {kMinWidth, kMinHeight};
            return 0;
        case WM_CLOSE:
            Hide();
            return 0;
        case WM_ACTIVATE:
            // The focus leaves with the activation and comes back to where it was.
            if (LOWORD(message.wParam) == WA_INACTIVE) {
                if (HWND focus = GetFocus(); focus && IsChild(Handle(), focus)) savedFocus_ = focus;
            } else if (!HIWORD(message.wParam)) {
                ::SetFocus(savedFocus_ && IsChild(Handle(), savedFocus_) ? savedFocus_
                           : ListBox1                                   ? ListBox1->Handle()
                                                                        : Handle());
            }
            return 0;
        default:
            return Window::HandleMessage(message);
    }
}

EditField::EditField(tk::Window& parent, std::string name, const Rect& bounds)
    : Control(parent, std::move(name), bounds) {
    CreateControl(L"EDIT", WS_VISIBLE | WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, "");
}

void EditField::HandleCommand(WORD code) {
    if (code == EN_CHANGE && OnChange) OnChange();
}

ListBox::ListBox(tk::Window& parent, std::string name, const Rect& bounds)
    : Control(parent, std::move(name), bounds) {
    CreateControl(L"LISTBOX", WS_VISIBLE | WS_TABSTOP | WS_GROUP | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                  WS_EX_CLIENTEDGE, "");
}

int ListBox::ItemsExtent(const std::vector<std::string>& items) const {
    const tk::WindowDc dc(Handle());
    const tk::Selection font(dc.get(), reinterpret_cast<HFONT>(SendMessageW(Handle(), WM_GETFONT, 0, 0)));
    LONG widest = 0;
    for (const std::string& item : items) {
        const std::wstring text = Widen(item);
        SIZE extent{};
        if (GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent))
            widest = std::max(widest, extent.cx);
    }
    return static_cast<int>(widest) + 4;
}

int ListBox::WidthToShow(const std::vector<std::string>& items) const {
    return ItemsExtent(items) + GetSystemMetrics(SM_CXVSCROLL) + 2 * GetSystemMetrics(SM_CXEDGE);
}

void ListBox::SetItems(const std::vector<std::string>& items) {
    SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
    SendMessageW(Handle(), LB_RESETCONTENT, 0, 0);
    for (const std::string& item : items)
        SendMessageW(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
    // A title wider than the list (a window made narrow) gets a horizontal
    // scroll bar rather than being cut off.
    SendMessageW(Handle(), LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(ItemsExtent(items)), 0);
    SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(Handle(), nullptr, TRUE);
}

std::vector<std::string> ListBox::Items() const {
    std::vector<std::string> items;
    const auto count = SendMessageW(Handle(), LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const auto length = SendMessageW(Handle(), LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        if (length < 0) continue;
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        const auto copied = SendMessageW(Handle(), LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        text.resize(copied < 0 ? 0 : static_cast<std::size_t>(copied));
        items.push_back(Narrow(text));
    }
    return items;
}

int ListBox::ItemIndex() const {
    const auto index = SendMessageW(Handle(), LB_GETCURSEL, 0, 0);
    return index == LB_ERR ? -1 : static_cast<int>(index);
}

void ListBox::SetItemIndex(int index) { SendMessageW(Handle(), LB_SETCURSEL, static_cast<WPARAM>(index), 0); }

void ListBox::HandleCommand(WORD code) {
    if (code == LBN_SELCHANGE && OnSelect) OnSelect();
}

}  // namespace sorv
